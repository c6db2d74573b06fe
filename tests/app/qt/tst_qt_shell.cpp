// What only the Qt shell has: its window flags and icon, the label font and
// its fallback, the credit line's colour in pixels, the real message box, and
// closing the window ending the event loop.
#include "convert/pages.h"
#include "tests/app/qt/form_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using qimbar::testing::FormFixture;

class QtShellTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frameAndIcon();
    void unitLabels();
    void longestCaptionsFitTheirLabels_data();
    void longestCaptionsFitTheirLabels();
    void creditLineUnderTheTabControl();
    void spareControlsTakeNoFocus();
    void messageBoxIsModalCriticalWithOk();
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

void QtShellTest::unitLabels() {
    FormFixture f;
    for (const auto& page : qimbar::convert::pages) {
        for (const auto& row : page.rows) {
            const auto* label = f.find<QLabel>(QStringLiteral("Label%1").arg(row.label));
            const QFont font = label->font();
            QCOMPARE(font.families().value(0), QStringLiteral("MS Sans Serif"));
            QVERIFY(font.families().contains(QStringLiteral("Liberation Sans")));
            QCOMPARE(font.pointSizeF(), 9.75);
            QCOMPARE(font.weight(), QFont::Normal);
            QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
            QCOMPARE(label->foregroundRole(), QPalette::ButtonText);
            QCOMPARE(label->backgroundRole(), QPalette::Button);
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        }
    }
}

void QtShellTest::longestCaptionsFitTheirLabels_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("Qadimgi rus mili") << "Label10";
    QTest::newRow("Quruqyo'l mili") << "Label9";
    QTest::newRow("Kvadrat metr") << "Label30";
    QTest::newRow("Kilogramm") << "Label12";
    QTest::newRow("Dengiz mili") << "Label8";
}

void QtShellTest::longestCaptionsFitTheirLabels() {
    QFETCH(QString, label);
    FormFixture f;
    const auto* widget = f.find<QLabel>(label);
    const int width = widget->fontMetrics().horizontalAdvance(widget->text());
    QVERIFY2(width <= widget->width(), qPrintable(QStringLiteral("%1 px in %2 px, face %3")
                                                      .arg(width)
                                                      .arg(widget->width())
                                                      .arg(QFontInfo(widget->font()).family())));
}

void QtShellTest::creditLineUnderTheTabControl() {
    FormFixture f;
    auto* credit = f.find<QLabel>(QStringLiteral("Label1"));
    QVERIFY(credit->autoFillBackground());
    // Its text is drawn in dark blue on the button face: look at the pixels.
    const QImage drawn = credit->grab().toImage();
    int blue = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            QVERIFY2(pixel.red() == pixel.green(), "only dark blue text on a grey face");
            blue += pixel == QColor(0, 0, 192) ? 1 : 0;
        }
    }
    QVERIFY2(blue > 20, qPrintable(QString::number(blue)));
    QCOMPARE(drawn.pixelColor(drawn.width() - 1, 0), credit->palette().color(QPalette::Button));
    // Row 408 is both the credit's top and the tab control's bottom: the tab
    // control is drawn there. Below it, the credit line; its last row, 424,
    // is outside the window.
    QCOMPARE(credit->geometry().bottom(), 424);
    QWidget* atTop = f.form().childAt(120, 408);
    QVERIFY(atTop == &f.tabs() || f.tabs().isAncestorOf(atTop));
    QCOMPARE(f.form().childAt(120, 412), credit);
}

void QtShellTest::spareControlsTakeNoFocus() {
    FormFixture f;
    for (int k = 11; k <= 20; ++k) {
        QCOMPARE(f.button(k)->focusPolicy(), Qt::NoFocus);
        QCOMPARE(f.box(k)->focusPolicy(), Qt::NoFocus);
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
    QCOMPARE(text, QStringLiteral("Kiritilgan qiymat son emas."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(parent, &f.form());
    QVERIFY(modal);
    QVERIFY(f.box(30)->text().isEmpty());
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
