#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace qimbar::app {

// Shows a run-time error to the user: a modal critical message box over
// `parent`, captioned with the program's name, with one OK button.
void showRunTimeError(QWidget* parent, const QString& message);

// What showRunTimeError hands its box to; tests put their own in its place so
// that no modal box blocks them.
using ErrorPresenter =
    std::function<void(QWidget* parent, const QString& title, const QString& message)>;

// Puts `presenter` in place of the message box for this object's lifetime.
class ScopedErrorPresenter {
public:
    explicit ScopedErrorPresenter(ErrorPresenter replacement);
    ~ScopedErrorPresenter();
    ScopedErrorPresenter(const ScopedErrorPresenter&) = delete;
    ScopedErrorPresenter& operator=(const ScopedErrorPresenter&) = delete;
    ScopedErrorPresenter(ScopedErrorPresenter&&) = delete;
    ScopedErrorPresenter& operator=(ScopedErrorPresenter&&) = delete;

private:
    ErrorPresenter previous_;
};

}  // namespace qimbar::app
