#include "app/qt/error_display.h"

#include "app/window_description.h"

#include <QMessageBox>

namespace qimbar::qt {

namespace {

void showMessageBox(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Critical, title, message, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

}  // namespace

ErrorPresenter& errorPresenter() {
    static ErrorPresenter current = showMessageBox;
    return current;
}

void showRunTimeError(QWidget* parent, const QString& message) {
    const QString title =
        QString::fromUtf8(app::form1.caption.data(), qsizetype(app::form1.caption.size()));
    errorPresenter()(parent, title, message);
}

}  // namespace qimbar::qt
