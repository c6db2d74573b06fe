#include "app/qt/announcer.h"

#include <QAccessible>
#include <QWindow>

namespace qimbar::qt {

namespace {

// The notification: the window's, drawn by nothing and reached by no key.
class NotificationAccessible final : public QAccessibleInterface {
public:
    explicit NotificationAccessible(QWidget* window) : window_(window) {}

    QString said;

    [[nodiscard]] bool isValid() const override { return window_ != nullptr; }
    [[nodiscard]] QObject* object() const override { return nullptr; }
    [[nodiscard]] QWindow* window() const override {
        return window_ == nullptr ? nullptr : window_->windowHandle();
    }
    [[nodiscard]] QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation /*match*/) const override {
        return {};
    }
    [[nodiscard]] QAccessibleInterface* focusChild() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override {
        return nullptr;
    }
    [[nodiscard]] QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(window_.data());
    }
    [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override {
        return -1;
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? said : QString();
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    [[nodiscard]] QRect rect() const override { return {}; }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Notification; }
    [[nodiscard]] QAccessible::State state() const override { return {}; }

private:
    QPointer<QWidget> window_;
};

}  // namespace

Announcer::~Announcer() {
    if (id_ != 0) {
        QAccessible::deleteAccessibleInterface(id_);
    }
}

QAccessibleInterface* Announcer::notification() const {
    return id_ == 0 ? nullptr : QAccessible::accessibleInterface(id_);
}

void Announcer::say(const QString& text) {
    if (window_ == nullptr) {
        return;
    }
    if (id_ == 0) {
        id_ = QAccessible::registerAccessibleInterface(new NotificationAccessible(window_));
    }
    QAccessibleInterface* shown = notification();
    static_cast<NotificationAccessible*>(shown)->said = text;
    QAccessibleEvent event(shown, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}

}  // namespace qimbar::qt
