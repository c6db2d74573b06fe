#include "app/qt/focus_tip.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace qimbar::qt {

namespace {

// Long enough to read, as long as the focus stays.
constexpr int kShownMilliseconds = 10 * 60 * 1000;

class FocusTip final : public QObject {
public:
    FocusTip(QLineEdit* box, QString explanation)
        : QObject(box), box_(box), explanation_(std::move(explanation)) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_) {
            return false;
        }
        switch (event->type()) {
            case QEvent::FocusIn:
                // Once the focus has moved: a tooltip hides on every focus event.
                QTimer::singleShot(0, this, [this] {
                    if (box_->hasFocus()) {
                        QToolTip::showText(place(), explanation_, box_, {}, kShownMilliseconds);
                    }
                });
                break;
            case QEvent::FocusOut:
                QToolTip::hideText();
                break;
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                    QToolTip::hideText();
                }
                break;
            default:
                break;
        }
        return false;
    }

private:
    // Under the page's lowest control, from its leftmost label.
    [[nodiscard]] QPoint place() const {
        const QWidget* page = box_->parentWidget();
        int bottom = box_->geometry().bottom();
        int left = box_->x();
        for (const QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            bottom = std::max(bottom, control->geometry().bottom());
            if (qobject_cast<const QLabel*>(control) != nullptr) {
                left = std::min(left, control->x());
            }
        }
        return page->mapToGlobal(QPoint(left, bottom + 4));
    }

    QLineEdit* box_;
    QString explanation_;
};

}  // namespace

void explainOnFocus(QLineEdit* box, const QString& explanation) {
    new FocusTip(box, explanation);  // owned by the box
}

}  // namespace qimbar::qt
