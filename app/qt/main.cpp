#include "app/qt/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qimbar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Qimbar birliklari"));
    QApplication::setApplicationVersion(QStringLiteral(QIMBAR_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QIMBAR_APP_ID));

    qimbar::app::Form1 window;
    window.show();
    return QApplication::exec();
}
