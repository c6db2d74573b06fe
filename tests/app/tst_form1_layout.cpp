#include "app/window_description.h"
#include "tests/app/form_fixture.h"
#include "tests/app/spec_layout.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <limits>

using qimbar::testing::ExpectedControl;
using qimbar::testing::expectedControls;
using qimbar::testing::FormFixture;

class Form1LayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void atStart();
    void controls_data();
    void controls();
    void descriptionKeepsTheKeyboardOrder();
    void unitLabels();
    void longestCaptionsFitTheirLabels_data();
    void longestCaptionsFitTheirLabels();
    void creditLineUnderTheTabControl();
    void boxesHaveNoLengthLimit();
    void spareButtonsDoNothing();
};

void Form1LayoutTest::atStart() {
    FormFixture f;
    QCOMPARE(f.form().windowTitle(), QStringLiteral("Qimbar birliklari"));
    QCOMPARE(f.form().size(), QSize(489, 424));
    QCOMPARE(f.form().minimumSize(), f.form().maximumSize());
    QVERIFY(!f.form().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.form().windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const QIcon icon = f.form().windowIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    const QImage image = icon.pixmap(QSize(32, 32)).toImage();
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(image.pixelColor(8, 8) == QColor(Qt::cyan));  // the title bar

    QCOMPARE(f.strip().count(), 6);
    const QStringList captions{"Uzunlik", "Og'irlik", "Hajm", "Tezlik", "Maydon", "Harorat"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(f.strip().tabText(i), captions.at(i));
        QVERIFY(f.strip().tabIcon(i).isNull());
    }
    QCOMPARE(f.strip().currentIndex(), 2);
    QCOMPARE(f.tabs().currentPage(), 3);

    const auto boxes =
        f.form().findChildren<QLineEdit*>(QRegularExpression(QStringLiteral("^Text")));
    QCOMPARE(boxes.size(), 46);
    for (const QLineEdit* box : boxes) {
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QVERIFY(!box->isReadOnly());
    }
    QCOMPARE(QApplication::focusWidget(), &f.strip());
}

void Form1LayoutTest::controls_data() {
    QTest::addColumn<int>("selected");
    for (int page = 1; page <= 6; ++page) {
        QTest::addRow("page %d selected", page) << page;
    }
}

void Form1LayoutTest::controls() {
    QFETCH(int, selected);
    FormFixture f;
    f.selectPage(selected);
    QCOMPARE(f.tabs().currentPage(), selected);

    const std::vector<ExpectedControl> expected = expectedControls();
    QCOMPARE(expected.size(), std::size_t(130));
    for (const ExpectedControl& control : expected) {
        auto* widget = f.find<QWidget>(control.name);
        const char* name = qPrintable(control.name);
        QVERIFY2(widget->parentWidget() != nullptr, name);
        QCOMPARE(widget->parentWidget()->objectName(), control.parent);
        QCOMPARE(widget->geometry(), control.geometry);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), control.caption);
            QVERIFY2(label->autoFillBackground(), name);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), control.caption);
            QVERIFY(!button->isDefault());
        }
        // Page 0 holds the tab control and the credit line, always shown, and
        // the spare controls, never shown.
        const bool shown = control.page == selected || control.name == QStringLiteral("SSTab1") ||
                           control.name == QStringLiteral("Label1");
        QVERIFY2(widget->isVisible() == shown, name);
    }
}

void Form1LayoutTest::descriptionKeepsTheKeyboardOrder() {
    const QStringList order = qimbar::testing::keyboardOrder();
    QCOMPARE(order.size(), 130);
    for (const auto& control : qimbar::app::controls) {
        QCOMPARE(order.indexOf(qimbar::testing::fromView(control.name)), control.tabIndex);
    }
}

void Form1LayoutTest::unitLabels() {
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
        }
    }
}

void Form1LayoutTest::longestCaptionsFitTheirLabels_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("Qadimgi rus mili") << "Label10";
    QTest::newRow("Quruqyo'l mili") << "Label9";
    QTest::newRow("Kvadrat metr") << "Label30";
    QTest::newRow("Kilogramm") << "Label12";
    QTest::newRow("Dengiz mili") << "Label8";
}

void Form1LayoutTest::longestCaptionsFitTheirLabels() {
    QFETCH(QString, label);
    FormFixture f;
    const auto* widget = f.find<QLabel>(label);
    const int width = widget->fontMetrics().horizontalAdvance(widget->text());
    QVERIFY2(width <= widget->width(), qPrintable(QStringLiteral("%1 px in %2 px, face %3")
                                                      .arg(width)
                                                      .arg(widget->width())
                                                      .arg(QFontInfo(widget->font()).family())));
}

void Form1LayoutTest::creditLineUnderTheTabControl() {
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

void Form1LayoutTest::boxesHaveNoLengthLimit() {
    FormFixture f;
    QCOMPARE(f.box(29)->maxLength(), std::numeric_limits<int>::max());
    const QString longText(100000, QLatin1Char('7'));
    f.box(29)->setText(longText);
    QCOMPARE(f.box(29)->text(), longText);
}

void Form1LayoutTest::spareButtonsDoNothing() {
    FormFixture f;
    for (int n = 1; n <= 46; ++n) {
        f.box(n)->setText(QStringLiteral("1"));
    }
    for (int k = 11; k <= 20; ++k) {
        f.button(k)->click();
        QVERIFY(f.button(k)->text().isEmpty());
        QCOMPARE(f.button(k)->focusPolicy(), Qt::NoFocus);
    }
    for (int n = 1; n <= 46; ++n) {
        QCOMPARE(f.box(n)->text(), QStringLiteral("1"));
    }
}

QTEST_MAIN(Form1LayoutTest)
#include "tst_form1_layout.moc"
