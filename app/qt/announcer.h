#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QAccessibleInterface;

namespace qimbar::qt {

// Says a sentence to screen readers without taking the focus or changing
// the window: Qt 6.4 has no announcement event, but Orca speaks an object of
// role notification as it is shown, so one that is never drawn is shown
// with the sentence as its name.
class Announcer final {
public:
    explicit Announcer(QWidget* window) : window_(window) {}
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;
    Announcer(Announcer&&) = delete;
    Announcer& operator=(Announcer&&) = delete;
    ~Announcer();

    void say(const QString& text);
    // What was said last, as assistive tools read it.
    [[nodiscard]] QAccessibleInterface* notification() const;

private:
    QPointer<QWidget> window_;
    unsigned id_ = 0;  // the notification's QAccessible::Id, 0 until first said
};

}  // namespace qimbar::qt
