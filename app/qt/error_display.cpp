#include "app/qt/error_display.h"

#include "app/window_description.h"

#include <QMessageBox>

namespace qimbar::app {

namespace {

void showMessageBox(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Critical, title, message, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

ErrorPresenter& presenter() {
    static ErrorPresenter current = showMessageBox;
    return current;
}

}  // namespace

void showRunTimeError(QWidget* parent, const QString& message) {
    const QString title = QString::fromUtf8(form1.caption.data(), qsizetype(form1.caption.size()));
    presenter()(parent, title, message);
}

ScopedErrorPresenter::ScopedErrorPresenter(ErrorPresenter replacement)
    : previous_(std::exchange(presenter(), std::move(replacement))) {}

ScopedErrorPresenter::~ScopedErrorPresenter() {
    presenter() = std::move(previous_);
}

}  // namespace qimbar::app
