#include "app/qt/form1.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt's platform plugin aborts the process with a page of
// advice; say in one line what is wrong instead.
bool hasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const std::array names{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    return std::any_of(names.begin(), names.end(), [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    });
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs(
            "qimbar: no graphical session (DISPLAY and WAYLAND_DISPLAY are unset): start it "
            "from a desktop session, or under a virtual X server with xvfb-run\n",
            stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qimbar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Qimbar birliklari"));
    QApplication::setApplicationVersion(QStringLiteral(QIMBAR_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QIMBAR_APP_ID));

    qimbar::qt::Form1 window;
    window.show();
    return QApplication::exec();
}
