// The 218 constants checked against what is independent of their transcription:
// the unit sizes the tables were rounded from, the printed products of each
// rule with its reverse, and the fixed points of the temperature scales.
#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "platform/number_text.h"
#include "tests/support/memory_boxes.h"

#include <QtTest>

#include <bit>
#include <cmath>
#include <vector>

using qimbar::convert::ConversionRule;
using qimbar::convert::Page;
using qimbar::convert::pageNumber;

namespace {

ConversionRule ruleOf(int page, int source, int target) {
    const auto rule = pageNumber(page).table.rule(source, target);
    if (!rule) {
        qFatal("no rule %d -> %d on page %d", source, target, page);
    }
    return *rule;
}

}  // namespace

class TablesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundedFromOneSetOfUnitSizes_data();
    void roundedFromOneSetOfUnitSizes();
    void tellingPairs_data();
    void tellingPairs();
    void temperatureFixedPoints_data();
    void temperatureFixedPoints();
    void pressOfOneWritesTheMatrixLine_data();
    void pressOfOneWritesTheMatrixLine();
    void offsetsOnlyOnTheTemperaturePage();
};

void TablesTest::roundedFromOneSetOfUnitSizes_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<std::vector<double>>("sizes");  // each row's unit in one base unit
    QTest::newRow("Uzunlik, metres")
        << 1 << std::vector<double>{1, 0.3048, 0.9144, 0.025, 0.7, 2.1, 1850, 1600, 7470, 1067};
    QTest::newRow("Og'irlik, kilograms")
        << 2 << std::vector<double>{1, 0.001, 0.0002, 0.02835, 0.00177, 0.41, 16, 0.49};
    QTest::newRow("Hajm, litres") << 3
                                  << std::vector<double>{1000, 1, 4.544, 1.136, 0.568, 36.36, 159};
    QTest::newRow("Tezlik, metres per second") << 4 << std::vector<double>{1 / 3.6, 1, 0.5144};
    QTest::newRow("Maydon, square metres") << 5 << std::vector<double>{1, 10000, 100, 4047};
}

void TablesTest::roundedFromOneSetOfUnitSizes() {
    // Each multiplier is the ratio of the two sizes rounded to four significant
    // figures, so a wrong digit anywhere in it shows.
    QFETCH(int, page);
    QFETCH(std::vector<double>, sizes);
    const Page& p = pageNumber(page);
    QCOMPARE(static_cast<int>(sizes.size()), p.rowCount());
    for (const auto& entry : p.table.rules()) {
        const double ratio = sizes.at(static_cast<std::size_t>(entry.source - 1)) /
                             sizes.at(static_cast<std::size_t>(entry.target - 1));
        const double halfUnit = 0.5 * std::pow(10.0, std::floor(std::log10(ratio)) - 3);
        const double error = std::abs(entry.rule.multiplier - ratio);
        QVERIFY2(error <= halfUnit * (1 + 1e-9),
                 qPrintable(QStringLiteral("%1 -> %2: %3, expected about %4")
                                .arg(p.row(entry.source).caption.data())
                                .arg(p.row(entry.target).caption.data())
                                .arg(entry.rule.multiplier, 0, 'g', 17)
                                .arg(ratio, 0, 'g', 17)));
        QCOMPARE(entry.rule.offset, 0.0);
    }
}

void TablesTest::tellingPairs_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<double>("product");  // as printed with the tables

    QTest::newRow("Metr, Dyuym") << 1 << 1 << 4 << 1.0;
    QTest::newRow("Metr, Fut") << 1 << 1 << 2 << 1.0000488;
    QTest::newRow("Metr, Yard") << 1 << 1 << 3 << 1.0003536;
    QTest::newRow("Fut, Yard") << 1 << 2 << 3 << 0.9999;
    QTest::newRow("Arshin, Sajen") << 1 << 5 << 6 << 0.9999;
    QTest::newRow("Fut, Dyuym") << 1 << 2 << 4 << 0.9998238;
    QTest::newRow("Dyuym, Sajen") << 1 << 4 << 6 << 0.9996;
    QTest::newRow("Sajen, Quruqyo'l mili") << 1 << 6 << 8 << 0.9996128;
    QTest::newRow("Quruqyo'l mili, Versta") << 1 << 8 << 10 << 1.00035;

    QTest::newRow("Kilogramm, Gramm") << 2 << 1 << 2 << 1.0;
    QTest::newRow("Gramm, Karat") << 2 << 2 << 3 << 1.0;
    QTest::newRow("Kilogramm, Unsiya") << 2 << 1 << 4 << 0.9999045;
    QTest::newRow("Kilogramm, Draxma") << 2 << 1 << 5 << 1.00005;
    QTest::newRow("Kilogramm, Funt") << 2 << 1 << 6 << 0.99999;
    QTest::newRow("Kilogramm, Livr") << 2 << 1 << 8 << 1.00009;
    QTest::newRow("Unsiya, Draxma") << 2 << 4 << 5 << 1.0001286;
    QTest::newRow("Unsiya, Karat") << 2 << 4 << 3 << 0.9996935;
    QTest::newRow("Pud, Funt") << 2 << 7 << 6 << 0.9996924;
    QTest::newRow("Pud, Livr") << 2 << 7 << 8 << 0.999743;

    QTest::newRow("Kub metr, Litr") << 3 << 1 << 2 << 1.0;
    QTest::newRow("Gallon, Kvarta") << 3 << 3 << 4 << 1.0;
    QTest::newRow("Gallon, Pinta") << 3 << 3 << 5 << 1.0;
    QTest::newRow("Kvarta, Pinta") << 3 << 4 << 5 << 1.0;
    QTest::newRow("Kvarta, Barrel") << 3 << 4 << 7 << 1.0003;
    QTest::newRow("Gallon, Bushel") << 3 << 3 << 6 << 1.00025;
    QTest::newRow("Litr, Pinta") << 3 << 2 << 5 << 1.000248;
    QTest::newRow("Litr, Gallon") << 3 << 2 << 3 << 1.0001344;
    QTest::newRow("Bushel, Barrel") << 3 << 6 << 7 << 1.0001051;
    QTest::newRow("Litr, Kvarta") << 3 << 2 << 4 << 1.0000208;
    QTest::newRow("Gallon, Barrel") << 3 << 3 << 7 << 1.0000142;
    QTest::newRow("Kvarta, Bushel") << 3 << 4 << 6 << 0.9999924;
    QTest::newRow("Litr, Barrel") << 3 << 2 << 7 << 0.999951;
    QTest::newRow("Litr, Bushel") << 3 << 2 << 6 << 0.9999;
    QTest::newRow("Pinta, Bushel") << 3 << 5 << 6 << 0.9998362;
    QTest::newRow("Pinta, Barrel") << 3 << 5 << 7 << 0.9998028;
    // The Kub metr pairs other than Litr have the product of the Litr pair.
    QTest::newRow("Kub metr, Gallon") << 3 << 1 << 3 << 1.0001344;
    QTest::newRow("Kub metr, Kvarta") << 3 << 1 << 4 << 1.0000208;
    QTest::newRow("Kub metr, Pinta") << 3 << 1 << 5 << 1.000248;
    QTest::newRow("Kub metr, Bushel") << 3 << 1 << 6 << 0.9999;
    QTest::newRow("Kub metr, Barrel") << 3 << 1 << 7 << 0.999951;

    QTest::newRow("Km/soat, metr/sek") << 4 << 1 << 2 << 1.00008;
    QTest::newRow("Km/soat, Uzel") << 4 << 1 << 3 << 1.00008;
    QTest::newRow("metr/sek, Uzel") << 4 << 2 << 3 << 0.9999936;

    QTest::newRow("Kvadrat metr, Gektar") << 5 << 1 << 2 << 1.0;
    QTest::newRow("Gektar, Ar") << 5 << 2 << 3 << 1.0;
    QTest::newRow("Kvadrat metr, Akr") << 5 << 1 << 4 << 1.0000137;
    QTest::newRow("Gektar, Akr") << 5 << 2 << 4 << 1.0000137;
    QTest::newRow("Ar, Akr") << 5 << 3 << 4 << 1.0000137;
}

void TablesTest::tellingPairs() {
    QFETCH(int, page);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(double, product);
    const double there = ruleOf(page, first, second).multiplier;
    const double back = ruleOf(page, second, first).multiplier;
    // The products are exact in decimal; in doubles they are within a few ulps.
    QVERIFY2(std::abs(there * back - product) <= 1e-14,
             qPrintable(QStringLiteral("%1 x %2 = %3")
                            .arg(there, 0, 'g', 17)
                            .arg(back, 0, 'g', 17)
                            .arg(there * back, 0, 'g', 17)));
}

void TablesTest::temperatureFixedPoints_data() {
    // Freezing and boiling water on each scale: the rounded rules land within
    // a degree and a half of them, so a wrong digit or sign shows.
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    const int rows = pageNumber(6).rowCount();
    for (int s = 1; s <= rows; ++s) {
        for (int t = 1; t <= rows; ++t) {
            if (s != t) {
                QTest::addRow("%s to %s", pageNumber(6).row(s).caption.data(),
                              pageNumber(6).row(t).caption.data())
                    << s << t;
            }
        }
    }
}

void TablesTest::temperatureFixedPoints() {
    QFETCH(int, source);
    QFETCH(int, target);
    // Selsiy, Kelvin (with the table's 273), Farengeyt, Reomyur.
    const std::array<double, 4> freezing{0, 273, 32, 0};
    const std::array<double, 4> boiling{100, 373, 212, 80};
    const ConversionRule rule = ruleOf(6, source, target);
    const auto s = static_cast<std::size_t>(source - 1);
    const auto t = static_cast<std::size_t>(target - 1);
    for (const auto* points : {&freezing, &boiling}) {
        const double result = qimbar::convert::applyRule((*points)[s], rule);
        QVERIFY2(std::abs(result - (*points)[t]) <= 1.5,
                 qPrintable(QStringLiteral("%1 gives %2").arg((*points)[s]).arg(result)));
    }
}

void TablesTest::pressOfOneWritesTheMatrixLine_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    for (const Page& page : qimbar::convert::pages) {
        if (page.number == 6) {
            continue;  // affine: 1 is no unit there
        }
        for (const auto& row : page.rows) {
            QTest::addRow("%s", row.caption.data()) << page.number << row.row;
        }
    }
}

void TablesTest::pressOfOneWritesTheMatrixLine() {
    // 1 × multiplier is the multiplier: the text written must read back to it
    // bit for bit, for every one of the page's rules.
    QFETCH(int, page);
    QFETCH(int, row);
    const Page& p = pageNumber(page);
    const int first = p.row(1).box;
    qimbar::testing::MemoryBoxes boxes(first, first + p.rowCount() - 1, "-");
    boxes.setText(p.row(row).box, "1");

    qimbar::convert::ConvertFromRow(p, row, boxes);

    for (const auto& entry : p.table.targetsOf(row)) {
        const std::string& text = boxes.text(p.row(entry.target).box);
        const auto parsed = qimbar::platform::parseNumber(text);
        QVERIFY2(std::holds_alternative<double>(parsed), text.c_str());
        QCOMPARE(std::bit_cast<quint64>(std::get<double>(parsed)),
                 std::bit_cast<quint64>(entry.rule.multiplier));
    }
}

void TablesTest::offsetsOnlyOnTheTemperaturePage() {
    int withOffset = 0;
    for (const Page& page : qimbar::convert::pages) {
        for (const auto& entry : page.table.rules()) {
            if (entry.rule.offset != 0.0) {
                QCOMPARE(page.number, 6);
                ++withOffset;
            }
        }
    }
    QCOMPARE(withOffset, 10);
}

QTEST_APPLESS_MAIN(TablesTest)
#include "tst_tables.moc"
