// The floors for start-up: a bare Qt window of the program's size and, with
// --text, the same window showing one line of text, which makes it load the
// font database as every window with text must.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(489, 424);
    if (withText) {
        new QLabel(QStringLiteral("Qimbar birliklari"), &window);
    }
    window.show();
    return QApplication::exec();
}
