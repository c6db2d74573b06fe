// The behaviour suite's driver for the Qt shell, on Qt's offscreen platform,
// with the suite's main() (doctest's implementation is compiled in here).
#include "app/qt/error_display.h"
#include "app/qt/form1.h"
#include "app/qt/sstab.h"
#include "tests/app/window_driver.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTest>

#include <doctest/doctest.h>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace qimbar::testing {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

app::Pixels pixels(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

class QtWindow final : public WindowDriver {
public:
    QtWindow()
        : seam_([this](QWidget* /*parent*/, const QString& title, const QString& message) {
              errors_.push_back({title.toStdString(), message.toStdString()});
          }) {
        form_.show();
        if (!QTest::qWaitForWindowActive(&form_)) {
            throw std::runtime_error("Form1 did not become active");
        }
    }

    std::string title() override { return form_.windowTitle().toStdString(); }
    app::Pixels clientArea() override { return pixels(form_.rect()); }

    std::vector<std::string> tabCaptions() override {
        std::vector<std::string> captions;
        captions.reserve(static_cast<std::size_t>(strip().count()));
        for (int i = 0; i < strip().count(); ++i) {
            captions.push_back(strip().tabText(i).toStdString());
        }
        return captions;
    }

    int currentPage() override { return form_.tabControl()->currentPage(); }

    void selectPage(int page) override {
        QTest::mouseClick(&strip(), Qt::LeftButton, {}, strip().tabRect(page - 1).center());
        settle();
    }

    bool exists(std::string_view name) override { return lookUp(name) != nullptr; }

    app::Kind kind(std::string_view name) override {
        QWidget* widget = find(name);
        if (qobject_cast<qt::SSTab*>(widget) != nullptr) {
            return app::Kind::TabControl;
        }
        if (qobject_cast<QLabel*>(widget) != nullptr) {
            return app::Kind::Label;
        }
        if (qobject_cast<QLineEdit*>(widget) != nullptr) {
            return app::Kind::TextBox;
        }
        if (qobject_cast<QPushButton*>(widget) != nullptr) {
            return app::Kind::Button;
        }
        throw std::runtime_error("a control of no known kind: " + std::string(name));
    }

    std::string caption(std::string_view name) override {
        QWidget* widget = find(name);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            return label->text().toStdString();
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            return button->text().toStdString();
        }
        return {};
    }

    app::Pixels geometry(std::string_view name) override { return pixels(find(name)->geometry()); }
    bool visible(std::string_view name) override { return find(name)->isVisible(); }

    std::string text(std::string_view name) override { return edit(name)->text().toStdString(); }
    std::string selectedText(std::string_view name) override {
        return edit(name)->selectedText().toStdString();
    }
    void setText(std::string_view name, std::string_view text) override {
        edit(name)->setText(qs(text));
    }

    void type(std::string_view name, std::string_view text) override {
        QLineEdit* box = edit(name);
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, qs(text));
    }

    void paste(std::string_view name, std::string_view text) override {
        QLineEdit* box = edit(name);
        box->clear();
        box->setFocus();
        QGuiApplication::clipboard()->setText(qs(text));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    void click(std::string_view name) override {
        QWidget* widget = find(name);
        if (widget->isVisible()) {
            QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            button->click();  // no pointer reaches a hidden control
        }
        settle();
    }

    void focus(std::string_view name) override {
        QWidget* widget = name == "SSTab1" ? &strip() : find(name);
        widget->setFocus();
    }

    std::string focused() override {
        const QWidget* widget = QApplication::focusWidget();
        if (widget == nullptr) {
            return "(none)";
        }
        if (widget == &strip()) {
            return "SSTab1";
        }
        return widget->objectName().toStdString();
    }

    void key(Key key) override {
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr) {
            throw std::runtime_error("no control has the focus");
        }
        switch (key) {
            case Key::Tab:
                return QTest::keyClick(target, Qt::Key_Tab);
            case Key::ShiftTab:
                return QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
            case Key::Space:
                return QTest::keyClick(target, Qt::Key_Space);
            case Key::Enter:
                return QTest::keyClick(target, Qt::Key_Return);
            case Key::KeypadEnter:
                return QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
            case Key::Escape:
                return QTest::keyClick(target, Qt::Key_Escape);
            case Key::CtrlTab:
                return QTest::keyClick(target, Qt::Key_Tab, Qt::ControlModifier);
            case Key::CtrlShiftTab:
                return QTest::keyClick(target, Qt::Key_Backtab,
                                       Qt::ControlModifier | Qt::ShiftModifier);
            case Key::Left:
                return QTest::keyClick(target, Qt::Key_Left);
            case Key::Right:
                return QTest::keyClick(target, Qt::Key_Right);
        }
    }

    TextRoom textRoom(std::string_view name) override {
        QWidget* widget = find(name);
        const QFontMetrics metrics = widget->fontMetrics();
        const int frame = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            // A line edit's text stands one pixel inside its frame, top and bottom.
            return {box->width() - 2 * frame, box->height() - 2 * frame - 2, 0, metrics.height()};
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const int margin = widget->style()->pixelMetric(QStyle::PM_ButtonMargin);
            return {button->width() - 2 * margin, button->height() - 2 * frame,
                    metrics.horizontalAdvance(button->text()), metrics.height()};
        }
        auto* label = qobject_cast<QLabel*>(widget);
        if (label == nullptr) {
            throw std::runtime_error("no text of its own: " + std::string(name));
        }
        return {label->width(), label->height(), metrics.horizontalAdvance(label->text()),
                metrics.height()};
    }

    TextRoom tabTextRoom(int page) override {
        const QFontMetrics metrics = strip().fontMetrics();
        const QRect tab = strip().tabRect(page - 1);
        return {tab.width() - 4, tab.height(), metrics.horizontalAdvance(strip().tabText(page - 1)),
                metrics.height()};
    }

    void destroy(std::string_view name) override { delete find(name); }

    std::vector<ShownError> takeErrors() override { return std::exchange(errors_, {}); }

    std::optional<std::size_t> residentBytes() override {
        std::ifstream statm("/proc/self/statm");
        std::size_t pages = 0;
        std::size_t resident = 0;
        statm >> pages >> resident;
        return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    }

private:
    // What the event loop does between a person's steps: posted events,
    // repaints and deferred deletions.
    static void settle() { QCoreApplication::processEvents(); }

    QTabBar& strip() { return *form_.tabControl()->strip(); }

    QWidget* lookUp(std::string_view name) { return form_.findChild<QWidget*>(qs(name)); }

    QWidget* find(std::string_view name) {
        QWidget* widget = lookUp(name);
        if (widget == nullptr) {
            throw std::runtime_error("no control " + std::string(name));
        }
        return widget;
    }

    QLineEdit* edit(std::string_view name) {
        auto* box = qobject_cast<QLineEdit*>(find(name));
        if (box == nullptr) {
            throw std::runtime_error(std::string(name) + " is no box");
        }
        return box;
    }

    std::vector<ShownError> errors_;
    qt::ScopedErrorPresenter seam_;
    qt::Form1 form_;
};

}  // namespace

std::unique_ptr<WindowDriver> openWindow() {
    return std::make_unique<QtWindow>();
}

}  // namespace qimbar::testing

int main(int argc, char* argv[]) {
    const QApplication application(argc, argv);
    // A desktop whose own font is larger: the window keeps to its own.
    if (const int points = qEnvironmentVariableIntValue("QIMBAR_DESKTOP_POINTS"); points > 0) {
        QFont desktop = QApplication::font();
        desktop.setPointSize(points);
        QApplication::setFont(desktop);
    }
    doctest::Context context(argc, argv);
    return context.run();
}
