#include "app/unit_explanation.h"
#include "convert/pages.h"
#include "platform/number_text.h"
#include "tests/app/qt/form_fixture.h"

#include <QAccessible>
#include <QLabel>
#include <QRegularExpression>
#include <QToolTip>
#include <QtTest>

#include <optional>
#include <variant>

using qimbar::testing::FormFixture;

class QtAccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowIsNamedAndExplained_data();
    void rowIsNamedAndExplained();
    void everyRowIsNamed();
    void tabsAreNamedByTheirCaptions();
    void explanationShowsOnKeyboardFocus();
};

namespace {

QString accessibleText(QWidget* widget, QAccessible::Text what) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface != nullptr ? iface->text(what) : QStringLiteral("(no interface)");
}

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::optional<double> number(const QString& text) {
    const auto parsed = qimbar::platform::parseNumber(text.toStdString());
    if (const auto* value = std::get_if<double>(&parsed)) {
        return *value;
    }
    return std::nullopt;
}

// What an explanation says, read back: the unit it explains, the unit it is
// told in, and the rule between them.
struct Explained {
    QString unit;
    QString other;
    std::optional<double> multiplier;
    std::optional<double> offset;
};

Explained read(const QString& explanation) {
    // "1 Arshin = 0.7 Metr"
    static const QRegularExpression factor(QStringLiteral("^1 (.+) = (\\S+) (.+)$"));
    // "Selsiy = Farengeyt × 0.555 − 17.78", "Kelvin = Selsiy + 273"
    static const QRegularExpression formula(
        QString::fromUtf8("^(.+) = (.+?)(?: \u00D7 (\\S+))?(?: ([+\u2212]) (\\S+))?$"));
    if (const auto match = factor.match(explanation); match.hasMatch()) {
        return {match.captured(1), match.captured(3), number(match.captured(2)), 0.0};
    }
    if (const auto match = formula.match(explanation); match.hasMatch()) {
        const QString times = match.captured(3);
        const QString plus = match.captured(5);
        std::optional<double> offset = plus.isEmpty() ? std::optional(0.0) : number(plus);
        if (offset && match.captured(4) != QStringLiteral("+")) {
            offset = -*offset;
        }
        return {match.captured(2), match.captured(1),
                times.isEmpty() ? std::optional(1.0) : number(times), offset};
    }
    return {};
}

}  // namespace

void QtAccessibilityTest::rowIsNamedAndExplained_data() {
    QTest::addColumn<int>("label");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("explanation");
    QTest::newRow("Metr") << 2 << 1 << "Metr"
                          << "1 Metr = 3.281 Fut";
    QTest::newRow("Arshin") << 6 << 5 << "Arshin"
                            << "1 Arshin = 0.7 Metr";
    QTest::newRow("Versta") << 11 << 10 << "Versta"
                            << "1 Versta = 1067 Metr";
    QTest::newRow("Pud") << 18 << 27 << "Pud"
                         << "1 Pud = 16 Kilogramm";
    QTest::newRow("Litr") << 21 << 30 << "Litr"
                          << "1 Litr = 0.001 Kub metr";
    QTest::newRow("Uzel") << 29 << 38 << "Uzel"
                          << "1 Uzel = 1.852 Km/soat";
    QTest::newRow("Akr") << 33 << 42 << "Akr"
                         << "1 Akr = 4047 Kvadrat metr";
    QTest::newRow("Selsiy") << 34 << 43 << "Selsiy"
                            << "Kelvin = Selsiy + 273";
    QTest::newRow("Kelvin") << 35 << 44 << "Kelvin"
                            << QString::fromUtf8("Selsiy = Kelvin \u2212 273");
    QTest::newRow("Farengeyt") << 36 << 45 << "Farengeyt"
                               << QString::fromUtf8("Selsiy = Farengeyt \u00D7 0.555 \u2212 17.78");
    QTest::newRow("Reomyur") << 37 << 46 << "Reomyur"
                             << QString::fromUtf8("Selsiy = Reomyur \u00D7 1.25");
}

void QtAccessibilityTest::rowIsNamedAndExplained() {
    QFETCH(int, label);
    QFETCH(int, box);
    QFETCH(QString, unit);
    QFETCH(QString, explanation);
    FormFixture f;
    auto* labelWidget = f.find<QLabel>(QStringLiteral("Label%1").arg(label));
    QCOMPARE(labelWidget->text(), unit);
    QCOMPARE(labelWidget->buddy(), f.box(box));
    QCOMPARE(labelWidget->toolTip(), explanation);
    QCOMPARE(accessibleText(f.box(box), QAccessible::Name), unit);
    QCOMPARE(accessibleText(f.box(box), QAccessible::Description), explanation);
    QCOMPARE(accessibleText(f.button(box), QAccessible::Name),
             QStringLiteral("Hisoblash: ") + unit);
}

void QtAccessibilityTest::everyRowIsNamed() {
    // Each box's description, read back, is its unit told in the page's first
    // unit (the first unit in the second) by the page's own rule.
    FormFixture f;
    for (const auto& page : qimbar::convert::pages) {
        for (const auto& row : page.rows) {
            const QString unit = qs(row.caption);
            QCOMPARE(accessibleText(f.box(row.box), QAccessible::Name), unit);
            QCOMPARE(accessibleText(f.button(row.box), QAccessible::Name),
                     QStringLiteral("Hisoblash: ") + unit);

            const QString description = accessibleText(f.box(row.box), QAccessible::Description);
            const int reference = row.row == 1 ? 2 : 1;
            const auto rule = page.table.rule(row.row, reference);
            QVERIFY(rule.has_value());
            const Explained told = read(description);
            QVERIFY2(told.multiplier && told.offset, qPrintable(description));
            QCOMPARE(told.unit, unit);
            QCOMPARE(told.other, qs(page.row(reference).caption));
            QCOMPARE(*told.multiplier, rule->multiplier);
            QCOMPARE(*told.offset, rule->offset);
        }
    }
}

void QtAccessibilityTest::tabsAreNamedByTheirCaptions() {
    FormFixture f;
    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(&f.strip());
    QVERIFY(strip != nullptr);
    QStringList tabs;  // the strip's other children are its scroll buttons
    for (int i = 0; i < strip->childCount(); ++i) {
        if (strip->child(i)->role() == QAccessible::PageTab) {
            tabs << strip->child(i)->text(QAccessible::Name);
        }
    }
    QCOMPARE(tabs, (QStringList{"Uzunlik", "Og'irlik", "Hajm", "Tezlik", "Maydon", "Harorat"}));
}

void QtAccessibilityTest::explanationShowsOnKeyboardFocus() {
    const FormFixture f;
    f.box(33)->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), qs(qimbar::app::unitExplanation(qimbar::convert::page(3), 5)));
    // Below the page's last row (Barrel's box): it hides no box.
    const QWidget* tip = nullptr;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        tip = widget->inherits("QTipLabel") && widget->isVisible() ? widget : tip;
    }
    QVERIFY(tip != nullptr);
    QVERIFY(tip->y() > f.box(35)->mapToGlobal(QPoint(0, f.box(35)->height())).y());
    QTest::keyClick(f.box(33), Qt::Key_Escape);
    QTRY_VERIFY(!QToolTip::isVisible());
    f.box(34)->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(QToolTip::isVisible());
    f.button(34)->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!QToolTip::isVisible());
}

QTEST_MAIN(QtAccessibilityTest)
#include "tst_qt_accessibility.moc"
