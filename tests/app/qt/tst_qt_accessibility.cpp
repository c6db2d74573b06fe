#include "convert/pages.h"
#include "tests/app/qt/form_fixture.h"

#include <QAccessible>
#include <QLabel>
#include <QtTest>

using qimbar::testing::FormFixture;

class QtAccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowIsNamedAndExplained_data();
    void rowIsNamedAndExplained();
    void everyRowIsNamed();
    void tabsAreNamedByTheirCaptions();
};

namespace {

QString accessibleText(QWidget* widget, QAccessible::Text what) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface != nullptr ? iface->text(what) : QStringLiteral("(no interface)");
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
    FormFixture f;
    for (const auto& page : qimbar::convert::pages) {
        for (const auto& row : page.rows) {
            const QString unit =
                QString::fromUtf8(row.caption.data(), qsizetype(row.caption.size()));
            QCOMPARE(accessibleText(f.box(row.box), QAccessible::Name), unit);
            QVERIFY(!accessibleText(f.box(row.box), QAccessible::Description).isEmpty());
            QVERIFY(accessibleText(f.button(row.box), QAccessible::Name).endsWith(unit));
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

QTEST_MAIN(QtAccessibilityTest)
#include "tst_qt_accessibility.moc"
