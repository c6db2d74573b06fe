// What only the Qt shell has: its window flags and icon, the label font and
// its fallback, the credit line's colour in pixels, the real message box, the
// boxes' menu in Uzbek, and closing the window ending the event loop.
#include "app/colour.h"
#include "app/texts.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "tests/app/qt/form_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStyle>
#include <QTimer>
#include <QtTest>

using qimbar::testing::FormFixture;

class QtShellTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frameAndIcon();
    void unitLabels();
    void creditLineUnderTheTabControl();
    void creditLineReadableOnEveryPalette_data();
    void creditLineReadableOnEveryPalette();
    void fontsAreTheListedFaces_data();
    void fontsAreTheListedFaces();
    void focusNeverLandsOnALabelOrASpareControl();
    void messageBoxIsModalCriticalWithOk();
    void editMenuIsQtsInUzbek_data();
    void editMenuIsQtsInUzbek();
    void closingEndsTheProgramWithoutAQuestion();
};

void QtShellTest::frameAndIcon() {
    FormFixture f;
    QCOMPARE(f.form().minimumSize(), f.form().maximumSize());
    QVERIFY(!f.form().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.form().windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const QIcon icon = f.form().windowIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    const QImage image = icon.pixmap(QSize(32, 32)).toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(image.pixelColor(8, 8) == QColor(Qt::cyan));  // the title bar
    for (int i = 0; i < f.strip().count(); ++i) {
        QVERIFY(f.strip().tabIcon(i).isNull());
    }
    for (const QLineEdit* box : f.form().findChildren<QLineEdit*>()) {
        QVERIFY(!box->isReadOnly());
    }
}

namespace {

// The first face of the list that this machine has.
QString firstInstalled(const qimbar::app::FontDescription& font) {
    const QStringList installed = QFontDatabase::families();
    for (const std::string_view face : font.faces) {
        QString family = QString::fromUtf8(face.data(), qsizetype(face.size()));
        if (installed.contains(family, Qt::CaseInsensitive)) {
            return family;
        }
    }
    return {};
}

// The columns in which a grabbed widget shows anything but its background.
std::pair<int, int> inkColumns(const QImage& image, const QColor& background) {
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != background) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

}  // namespace

void QtShellTest::unitLabels() {
    // Each unit's name is drawn in the first listed face the machine has, at
    // 9.75 point (13 pixels at 96 DPI): the ink of the drawn label is as wide
    // as that face makes the name, in button text on the button face.
    FormFixture f;
    const QString face = firstInstalled(qimbar::app::kLabelFont);
    QVERIFY2(!face.isEmpty(), "none of the label faces is installed (fonts-liberation has one)");
    QFont expected(face);
    expected.setPixelSize(qimbar::app::fontPixels(qimbar::app::kLabelFont));
    const QFontMetrics metrics(expected);
    for (const auto& page : qimbar::convert::pages) {
        f.selectPage(page.number);
        for (const auto& row : page.rows) {
            auto* label = f.find<QLabel>(QStringLiteral("Label%1").arg(row.label));
            QCOMPARE(QFontInfo(label->font()).family(), face);
            const QImage drawn = label->grab().toImage();
            const QColor background = label->palette().color(QPalette::Button);
            const auto [first, last] = inkColumns(drawn, background);
            const int width = metrics.boundingRect(label->text()).width();
            QVERIFY2(std::abs((last - first + 1) - width) <= 2,
                     qPrintable(QStringLiteral("%1: ink %2 px wide, %3 at %4 px is %5 px")
                                    .arg(label->text())
                                    .arg(last - first + 1)
                                    .arg(face)
                                    .arg(expected.pixelSize())
                                    .arg(width)));
            // Anti-aliased, the ink reaches the text colour's side of the
            // midway grey, not always the colour itself.
            const int text = label->palette().color(QPalette::ButtonText).lightness();
            int darkest = 255;
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = first; x <= last; ++x) {
                    darkest = std::min(darkest, drawn.pixelColor(x, y).lightness());
                }
            }
            QVERIFY2(darkest < (text + background.lightness()) / 2, qPrintable(label->text()));
        }
    }
}

void QtShellTest::creditLineUnderTheTabControl() {
    FormFixture f;
    auto* credit = f.find<QLabel>(QStringLiteral("Label1"));
    QVERIFY(credit->autoFillBackground());
    // Its text is drawn in dark blue on the button face: look at the pixels,
    // anti-aliased into the face at their edges.
    const QImage drawn = credit->grab().toImage();
    const QColor face = credit->palette().color(QPalette::Button);
    int blue = 0;
    QColor strongest = face;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            QVERIFY2(pixel.red() == pixel.green(), "only dark blue text on a grey face");
            if (pixel.blue() > pixel.red() + 40) {
                ++blue;
                strongest = pixel.red() < strongest.red() ? pixel : strongest;
            }
        }
    }
    QVERIFY2(blue > 20, qPrintable(QString::number(blue)));
    QVERIFY2(strongest.red() <= 40 && strongest.blue() >= 150 && strongest.blue() <= 200,
             qPrintable(strongest.name()));
    QCOMPARE(drawn.pixelColor(drawn.width() - 1, 0), face);
    // Row 408 is both the credit's top and the tab control's bottom: the tab
    // control is drawn there. Below it, the credit line; its last row, 424,
    // is outside the window.
    QCOMPARE(credit->geometry().bottom(), 424);
    QWidget* atTop = f.form().childAt(120, 408);
    QVERIFY(atTop == &f.tabs() || f.tabs().isAncestorOf(atTop));
    QCOMPARE(f.form().childAt(120, 412), credit);
}

void QtShellTest::creditLineReadableOnEveryPalette_data() {
    QTest::addColumn<QColor>("face");
    QTest::addColumn<QColor>("text");
    QTest::newRow("dark (Breeze Dark, Adwaita dark)")
        << QColor(49, 54, 59) << QColor(239, 240, 241);
    QTest::newRow("high contrast, white on black") << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("high contrast, black on white") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("dark, with a dim text colour") << QColor(30, 30, 60) << QColor(60, 60, 90);
}

void QtShellTest::creditLineReadableOnEveryPalette() {
    // The palette changes while the window is open, as a desktop switches to
    // a dark or high-contrast scheme: the credit line stays readable (WCAG's
    // 4.5 to 1 against its background).
    QFETCH(QColor, face);
    QFETCH(QColor, text);
    FormFixture f;
    const QPalette before = QApplication::palette();
    QPalette scheme = before;
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base}) {
        scheme.setColor(role, face);
    }
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        scheme.setColor(role, text);
    }
    QApplication::setPalette(scheme);
    QCoreApplication::processEvents();
    auto* credit = f.find<QLabel>(QStringLiteral("Label1"));
    const QImage drawn = credit->grab().toImage();
    QApplication::setPalette(before);

    const auto rgb = [](const QColor& c) {
        return qimbar::app::Rgb{static_cast<std::uint8_t>(c.red()),
                                static_cast<std::uint8_t>(c.green()),
                                static_cast<std::uint8_t>(c.blue())};
    };
    const QColor background = drawn.pixelColor(drawn.width() - 1, 0);
    QCOMPARE(background, face);
    double best = 1.0;
    int ink = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            ink += pixel != background ? 1 : 0;
            best = std::max(best, qimbar::app::contrastRatio(rgb(pixel), rgb(background)));
        }
    }
    QVERIFY2(ink > 20, qPrintable(QString::number(ink)));
    QVERIFY2(best >= qimbar::app::kReadableContrast, qPrintable(QString::number(best)));
}

void QtShellTest::fontsAreTheListedFaces_data() {
    QTest::addColumn<int>("desktopPoints");  // 0: the platform's own default
    QTest::newRow("the platform's default font") << 0;
    QTest::newRow("GNOME's and KDE's 11 point") << 11;
    QTest::newRow("a large 14 point") << 14;
}

void QtShellTest::fontsAreTheListedFaces() {
    // In the listed faces, never the desktop's: a minimal system's default
    // may be a monospace face twice as wide. Whether the text then fits is
    // the behaviour suite's, run under these desktop fonts too.
    QFETCH(int, desktopPoints);
    const QFont before = QApplication::font();
    if (desktopPoints > 0) {
        QFont desktop = before;
        desktop.setPointSize(desktopPoints);
        QApplication::setFont(desktop);
    }
    FormFixture f;
    QApplication::setFont(before);
    for (QWidget* widget : f.form().findChildren<QWidget*>()) {
        const auto* control = qimbar::app::findControl(widget->objectName().toStdString());
        if (control == nullptr || (control->page == 0 && control->name != "Label1")) {
            continue;
        }
        const bool unitName = control->kind == qimbar::app::Kind::Label && control->page != 0;
        QCOMPARE(QFontInfo(widget->font()).family(),
                 firstInstalled(unitName ? qimbar::app::kLabelFont : qimbar::app::kWindowFont));
    }
    QCOMPARE(QFontInfo(f.strip().font()).family(), firstInstalled(qimbar::app::kWindowFont));
}

void QtShellTest::focusNeverLandsOnALabelOrASpareControl() {
    // A click on a unit's name leaves the focus where it was, and Tab round
    // every page never stops on a label or on a control no one sees.
    FormFixture f;
    const auto isLabelOrSpare = [](const QWidget* widget) {
        const QString name = widget != nullptr ? widget->objectName() : QString();
        const auto* control = qimbar::app::findControl(name.toStdString());
        return qobject_cast<const QLabel*>(widget) != nullptr ||
               (control != nullptr && control->page == 0 && control->name != "SSTab1");
    };
    for (int page = 1; page <= 6; ++page) {
        f.selectPage(page);
        QWidget* before = QApplication::focusWidget();
        QVERIFY(before != nullptr);
        for (const auto& row : qimbar::convert::page(page).rows) {
            auto* label = f.find<QLabel>(QStringLiteral("Label%1").arg(row.label));
            QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
            QCOMPARE(QApplication::focusWidget(), before);
        }
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            QVERIFY2(!isLabelOrSpare(now), qPrintable(now->objectName()));
            QVERIFY(now->isVisible());
        }
    }
}

void QtShellTest::messageBoxIsModalCriticalWithOk() {
    // The real box, closed from a timer once it is up.
    FormFixture f;
    f.box(29)->setText(QStringLiteral("abc"));
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        parent = box->parentWidget();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    f.button(29)->click();
    QCOMPARE(title, QStringLiteral("Qimbar birliklari"));
    QCOMPARE(text, QString::fromStdString(qimbar::app::texts::errorMessage(
                       "Kub metr", qimbar::platform::ErrorKind::NotANumber)));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(parent, &f.form());
    QVERIFY(modal);
    QVERIFY(f.box(30)->text().isEmpty());
}

void QtShellTest::editMenuIsQtsInUzbek_data() {
    // Between them, each action on and off.
    QTest::addColumn<bool>("undone");
    QTest::newRow("typed in, nothing selected, clipboard full") << false;
    QTest::newRow("typing undone, all selected, clipboard empty") << true;
}

void QtShellTest::editMenuIsQtsInUzbek() {
    // A right click opens Qt's own menu for the box's state, in Uzbek.
    QFETCH(bool, undone);
    FormFixture f;
    QLineEdit* box = f.box(29);
    box->setText(QStringLiteral("12.5"));
    QTest::keyClick(box, Qt::Key_9);
    if (undone) {
        box->undo();
    }
    box->setSelection(0, undone ? 4 : 0);
    QGuiApplication::clipboard()->setText(undone ? QString() : QStringLiteral("7"));
    const std::unique_ptr<QMenu> qts(box->createStandardContextMenu());
    QContextMenuEvent click(QContextMenuEvent::Mouse, {4, 4}, box->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(box, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr && menu->actions().size() == qts->actions().size());
    using namespace qimbar::app::texts;
    const std::array<std::string_view, 9> words{
        kEditUndo, kEditRedo, {}, kEditCut, kEditCopy, kEditPaste, kEditDelete, {}, kEditSelectAll};
    for (qsizetype i = 0; i < qts->actions().size(); ++i) {
        const QAction* own = qts->actions().at(i);
        const QString shortcut =
            own->text().section(u'\t', 1, -1, QString::SectionIncludeLeadingSep);
        QCOMPARE(menu->actions().at(i)->text(),
                 QString::fromUtf8(words.at(std::size_t(i))) + shortcut);
        QCOMPARE(menu->actions().at(i)->isEnabled(), own->isEnabled());
    }
    const QString copied = undone ? box->text() : QStringLiteral("7");
    menu->actions().at(4)->trigger();  // Nusxa olish
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    menu->actions().at(8)->trigger();  // Hammasini tanlash
    QCOMPARE(box->selectedText(), box->text());
    menu->close();
}

void QtShellTest::closingEndsTheProgramWithoutAQuestion() {
    // Run last: it ends the application's event loop, as closing the window does.
    FormFixture f;
    f.box(29)->setText(QStringLiteral("12"));
    f.selectPage(1);
    f.box(1)->setText(QStringLiteral("3"));
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    bool accepted = false;
    QTimer::singleShot(0, &f.form(), [&f, &accepted] { accepted = f.form().close(); });
    // Had a question been asked, the loop would still run: end it as a failure.
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(accepted);
    QCOMPARE(lastClosed.count(), 1);
    QVERIFY(!f.form().isVisible());
}

QTEST_MAIN(QtShellTest)
#include "tst_qt_shell.moc"
