#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "platform/run_time_error.h"
#include "tests/support/memory_boxes.h"

#include <QtTest>

#include <bit>
#include <cfenv>
#include <cmath>
#include <string>

using qimbar::convert::ConvertFromRow;
using qimbar::convert::Page;
using qimbar::convert::pageNumber;
using qimbar::platform::ErrorKind;
using qimbar::platform::RunTimeError;
using qimbar::platform::Status;
using qimbar::testing::MemoryBoxes;

Q_DECLARE_METATYPE(ErrorKind)

namespace {

constexpr const char* kOld = "old";

MemoryBoxes boxesFor(const Page& page, const char* initial = kOld) {
    const int first = page.row(1).box;
    return {first, first + page.rowCount() - 1, initial};
}

QStringList textsOf(const Page& page, const MemoryBoxes& boxes) {
    QStringList texts;
    for (const auto& row : page.rows) {
        texts << QString::fromStdString(boxes.text(row.box));
    }
    return texts;
}

// Runs the press and returns the error kind it raised, if any.
std::optional<RunTimeError> press(const Page& page, int row, MemoryBoxes& boxes) {
    try {
        ConvertFromRow(page, row, boxes);
    } catch (const RunTimeError& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace

class ConvertFromRowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesEveryOtherRow_data();
    void writesEveryOtherRow();
    void readsSourceAnewForEveryTarget();
    void accessesInTargetOrder();
    void pressingTwiceGivesTheSameTexts();
    void convertsFromAnEarlierResult();
    void notANumberWritesNothing_data();
    void notANumberWritesNothing();
    void failedReadStopsAtThatTarget_data();
    void failedReadStopsAtThatTarget();
    void failedWriteStopsAtThatTarget_data();
    void failedWriteStopsAtThatTarget();
    void overflowPartWay();
    void flagsFromBoxAccessAreNotFaults();
    void doublingRuleIsExact();
    void affineRuleRoundsTwice();
};

void ConvertFromRowTest::writesEveryOtherRow_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("expected");  // every box of the page, row order

    // Uzunlik
    QTest::newRow("1 Metr") << 1 << 1 << "1"
                            << QStringList{"1",         "3.281",    "1.094",     "40",
                                           "1.429",     "0.4762",   "0.0005405", "0.000625",
                                           "0.0001339", "0.0009372"};
    QTest::newRow("1 Fut") << 1 << 2 << "1"
                           << QStringList{"0.3048",   "1",        "0.3333",    "12.19",
                                          "0.4354",   "0.1451",   "0.0001648", "0.0001905",
                                          "4.08E-05", "0.0002857"};
    QTest::newRow("3.281 Fut") << 1 << 2 << "3.281"
                               << QStringList{"1.0000488",    "3.281",        "1.0935573",
                                              "39.99539",     "1.4285474",    "0.4760731",
                                              "0.0005407088", "0.0006250305", "0.0001338648",
                                              "0.0009373817"};
    QTest::newRow("40 Dyuym") << 1 << 4 << "40"
                              << QStringList{"1",          "3.2808",   "1.0936",    "40",
                                             "1.4284",     "0.476",    "0.0005404", "0.0006252",
                                             "0.00013388", "0.0009372"};
    QTest::newRow("3 Fut") << 1 << 2 << "3"
                           << QStringList{"0.9144",    "3",        "0.9999",    "36.57",
                                          "1.3062",    "0.4353",   "0.0004944", "0.0005715",
                                          "0.0001224", "0.0008571"};
    QTest::newRow("1 Qadimgi rus mili")
        << 1 << 9 << "1" << QStringList{"7470", "24510", "8169",  "298800", "10670",
                                        "3557", "4.038", "4.669", "1",      "7.001"};
    QTest::newRow("1 Quruqyo'l mili")
        << 1 << 8 << "1" << QStringList{"1600",  "5249",   "1750", "64000",  "2286",
                                        "761.9", "0.8649", "1",    "0.2142", "1.5"};
    QTest::newRow("1 Versta") << 1 << 10 << "1"
                              << QStringList{"1067",  "3501",   "1167",   "42680",  "1524",
                                             "508.1", "0.5768", "0.6669", "0.1428", "1"};
    QTest::newRow("-1 Metr") << 1 << 1 << "-1"
                             << QStringList{"-1",         "-3.281",    "-1.094",     "-40",
                                            "-1.429",     "-0.4762",   "-0.0005405", "-0.000625",
                                            "-0.0001339", "-0.0009372"};
    // Og'irlik
    QTest::newRow("1 Kilogramm") << 2 << 1 << "1" << QStringList{"1",   "1000",  "5000",   "35.27",
                                                                 "565", "2.439", "0.0625", "2.041"};
    QTest::newRow("1 Pud") << 2 << 7 << "1" << QStringList{"16",   "16000", "80000", "564.4",
                                                           "9040", "39.02", "1",     "32.65"};
    QTest::newRow("2 Funt") << 2 << 6 << "2" << QStringList{"0.82",  "820", "4100",    "28.92",
                                                            "463.2", "2",   "0.05124", "1.6734"};
    QTest::newRow("39.02 Funt") << 2 << 6 << "39.02"
                                << QStringList{"15.9982",  "15998.2", "79991",     "564.2292",
                                               "9037.032", "39.02",   "0.9996924", "32.648034"};
    QTest::newRow("28.35 Gramm") << 2 << 2 << "28.35"
                                 << QStringList{"0.02835",     "28.35",     "141.75",
                                                "0.9999045",   "16.01775",  "0.06914565",
                                                "0.001771875", "0.05786235"};
    QTest::newRow("5 Karat") << 2 << 3 << "5"
                             << QStringList{"0.001", "1",        "5",        "0.035275",
                                            "0.565", "0.002439", "6.25E-05", "0.002041"};
    // Hajm
    QTest::newRow("1 Kub metr") << 3 << 1 << "1" << QStringList{"1",    "1000", "220.1", "880.3",
                                                                "1761", "27.5", "6.289"};
    QTest::newRow("3 Kvarta") << 3 << 4 << "3" << QStringList{"0.003408", "3.408",   "0.75",    "3",
                                                              "6",        "0.09372", "0.021435"};
    QTest::newRow("8.002 Gallon") << 3 << 3 << "8.002"
                                  << QStringList{"0.036361088", "36.361088", "8.002",     "32.008",
                                                 "64.016",      "1.00025",   "0.22869716"};
    QTest::newRow("8 Gallon") << 3 << 3 << "8"
                              << QStringList{"0.036352", "36.352", "8", "32", "64", "1", "0.22864"};
    QTest::newRow("4.544 Litr") << 3 << 2 << "4.544"
                                << QStringList{"0.004544", "4.544",   "1.0001344",  "4.0000832",
                                               "8.001984", "0.12496", "0.028577216"};
    QTest::newRow("-1 Barrel") << 3 << 7 << "-1"
                               << QStringList{"-0.159", "-159",   "-34.99", "-140",
                                              "-279.9", "-4.373", "-1"};
    // Tezlik
    QTest::newRow("100 Km/soat") << 4 << 1 << "100" << QStringList{"100", "27.78", "54"};
    QTest::newRow("10 metr/sek") << 4 << 2 << "10" << QStringList{"36", "10", "19.44"};
    QTest::newRow("1 Uzel") << 4 << 3 << "1" << QStringList{"1.852", "0.5144", "1"};
    QTest::newRow("0.2778 metr/sek")
        << 4 << 2 << "0.2778" << QStringList{"1.00008", "0.2778", "0.5400432"};
    // Maydon
    QTest::newRow("1 Gektar") << 5 << 2 << "1" << QStringList{"10000", "1", "100", "2.471"};
    QTest::newRow("1 Ar") << 5 << 3 << "1" << QStringList{"100", "0.01", "1", "0.02471"};
    QTest::newRow("5000 Kvadrat metr")
        << 5 << 1 << "5000" << QStringList{"5000", "0.5", "50", "1.2355"};
    QTest::newRow("1 Akr") << 5 << 4 << "1" << QStringList{"4047", "0.4047", "40.47", "1"};
    QTest::newRow("4047 Kvadrat metr")
        << 5 << 1 << "4047" << QStringList{"4047", "0.4047", "40.47", "1.0000137"};
    // Harorat
    QTest::newRow("100 Selsiy") << 6 << 1 << "100" << QStringList{"100", "373", "212", "80"};
    QTest::newRow("-40 Selsiy") << 6 << 1 << "-40" << QStringList{"-40", "233", "-40", "-32"};
    QTest::newRow("0 Selsiy") << 6 << 1 << "0" << QStringList{"0", "273", "32", "0"};
    QTest::newRow("0 Kelvin") << 6 << 2 << "0" << QStringList{"-273", "0", "-459.4", "-218.4"};
    QTest::newRow("80 Reomyur") << 6 << 4 << "80" << QStringList{"100", "373", "212", "80"};
    QTest::newRow("212 Farengeyt")
        << 6 << 3 << "212" << QStringList{"99.88", "371.8", "212", "80.12"};
    QTest::newRow("32 Farengeyt") << 6 << 3 << "32"
                                  << QStringList{"-0.0199999999999996", "272.8", "32",
                                                 "0.0199999999999996"};
}

void ConvertFromRowTest::writesEveryOtherRow() {
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(QString, input);
    QFETCH(QStringList, expected);

    const Page& p = pageNumber(page);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(row).box, input.toStdString());

    ConvertFromRow(p, row, boxes);

    QCOMPARE(textsOf(p, boxes), expected);
    QCOMPARE(boxes.reads(), p.rowCount() - 1);
    QCOMPARE(boxes.writes(), p.rowCount() - 1);
}

void ConvertFromRowTest::readsSourceAnewForEveryTarget() {
    // Each read sees a new text: every target must be computed from its own read.
    const Page& p = pageNumber(3);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(4).box, "1");
    int reads = 0;
    boxes.afterRead = [&reads](int, std::string& text) { text = std::to_string(++reads + 1); };

    ConvertFromRow(p, 4, boxes);

    // Kvarta 1, 2, 3, 4, 5, 6 into Kub metr, Litr, Gallon, Pinta, Bushel, Barrel.
    QCOMPARE(textsOf(p, boxes),
             (QStringList{"0.001136", "2.272", "0.75", "7", "8", "0.1562", "0.04287"}));
}

void ConvertFromRowTest::accessesInTargetOrder() {
    const Page& p = pageNumber(2);
    MemoryBoxes boxes = boxesFor(p, "1");

    ConvertFromRow(p, 4, boxes);

    std::vector<MemoryBoxes::Access> expected;
    for (const int target : {21, 22, 23, 25, 26, 27, 28}) {
        expected.push_back({MemoryBoxes::Op::Read, 24});
        expected.push_back({MemoryBoxes::Op::Write, target});
    }
    QVERIFY(boxes.log() == expected);
}

void ConvertFromRowTest::pressingTwiceGivesTheSameTexts() {
    const Page& p = pageNumber(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(5).box, "12,5");
    ConvertFromRow(p, 5, boxes);
    const QStringList first = textsOf(p, boxes);
    ConvertFromRow(p, 5, boxes);
    QCOMPARE(textsOf(p, boxes), first);
    QCOMPARE(first.at(4), QStringLiteral("12,5"));  // the source keeps its text as typed
}

void ConvertFromRowTest::convertsFromAnEarlierResult() {
    const Page& p = pageNumber(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(1).box, "1");
    ConvertFromRow(p, 1, boxes);
    QCOMPARE(boxes.text(2), std::string("3.281"));
    ConvertFromRow(p, 2, boxes);
    QCOMPARE(boxes.text(1), std::string("1.0000488"));
}

void ConvertFromRowTest::notANumberWritesNothing_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<ErrorKind>("kind");
    QTest::newRow("letters") << "abc" << ErrorKind::NotANumber;
    QTest::newRow("empty") << "" << ErrorKind::NotANumber;
    QTest::newRow("number then letters") << "12abc" << ErrorKind::NotANumber;
    QTest::newRow("beyond a double") << "1e309" << ErrorKind::Overflow;
}

void ConvertFromRowTest::notANumberWritesNothing() {
    QFETCH(QString, input);
    QFETCH(ErrorKind, kind);
    const Page& p = pageNumber(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(3).box, input.toStdString());

    const auto error = press(p, 3, boxes);

    QVERIFY(error.has_value());
    QCOMPARE(error->kind(), kind);
    QCOMPARE(boxes.reads(), 1);
    QCOMPARE(boxes.writes(), 0);
    QStringList expected(10, QString::fromLatin1(kOld));
    expected[2] = input;
    QCOMPARE(textsOf(p, boxes), expected);
}

void ConvertFromRowTest::failedReadStopsAtThatTarget_data() {
    QTest::addColumn<int>("failingRead");
    QTest::newRow("first") << 1;
    QTest::newRow("second") << 2;
    QTest::newRow("fifth") << 5;
    QTest::newRow("last") << 9;
}

void ConvertFromRowTest::failedReadStopsAtThatTarget() {
    QFETCH(int, failingRead);
    const Page& p = pageNumber(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(1, "1");
    boxes.failRead(failingRead, Status{-7});

    const auto error = press(p, 1, boxes);

    QVERIFY(error.has_value());
    QCOMPARE(error->kind(), ErrorKind::BoxNotRead);
    QCOMPARE(error->status().code, -7);
    QCOMPARE(error->boxNumber(), 1);
    QCOMPARE(boxes.writes(), failingRead - 1);
    const QStringList written{"3.281",     "1.094",    "40",        "1.429",    "0.4762",
                              "0.0005405", "0.000625", "0.0001339", "0.0009372"};
    const QStringList texts = textsOf(p, boxes);
    QCOMPARE(texts.at(0), QStringLiteral("1"));
    for (int target = 2; target <= 10; ++target) {
        const QString expected =
            target - 1 < failingRead ? written.at(target - 2) : QString::fromLatin1(kOld);
        QCOMPARE(texts.at(target - 1), expected);
    }
}

void ConvertFromRowTest::failedWriteStopsAtThatTarget_data() {
    QTest::addColumn<int>("failingWrite");
    QTest::newRow("first") << 1;
    QTest::newRow("third") << 3;
    QTest::newRow("last") << 6;
}

void ConvertFromRowTest::failedWriteStopsAtThatTarget() {
    QFETCH(int, failingWrite);
    const Page& p = pageNumber(3);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(32, "3");
    boxes.failWrite(failingWrite, qimbar::platform::kAccessFailed);

    const auto error = press(p, 4, boxes);

    QVERIFY(error.has_value());
    QCOMPARE(error->kind(), ErrorKind::BoxNotWritten);
    QCOMPARE(error->status().code, qimbar::platform::kAccessFailed.code);
    const std::array targets{29, 30, 31, 33, 34, 35};
    QCOMPARE(error->boxNumber(), targets.at(static_cast<std::size_t>(failingWrite - 1)));
    QCOMPARE(boxes.reads(), failingWrite);
    const QStringList written{"0.003408", "3.408", "0.75", "6", "0.09372", "0.021435"};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const QString expected = static_cast<int>(i) + 1 < failingWrite
                                     ? written.at(static_cast<qsizetype>(i))
                                     : QString::fromLatin1(kOld);
        QCOMPARE(QString::fromStdString(boxes.text(targets.at(i))), expected);
    }
    QCOMPARE(boxes.text(32), std::string("3"));
}

void ConvertFromRowTest::overflowPartWay() {
    // 1e304 Qadimgi rus mili: Metr is 7.47E+307, Fut (× 24510) is beyond a double.
    const Page& p = pageNumber(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(9, "1e304");

    const auto error = press(p, 9, boxes);

    QVERIFY(error.has_value());
    QCOMPARE(error->kind(), ErrorKind::Overflow);
    QStringList expected(10, QString::fromLatin1(kOld));
    expected[0] = QStringLiteral("7.47E+307");
    expected[8] = QStringLiteral("1e304");
    QCOMPARE(textsOf(p, boxes), expected);
    QCOMPARE(boxes.writes(), 1);
}

void ConvertFromRowTest::flagsFromBoxAccessAreNotFaults() {
    // Flags raised before the press or by a box access are cleared when it returns.
    const Page& p = pageNumber(4);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(36, "100");
    boxes.afterRead = [](int, std::string&) { std::feraiseexcept(FE_DIVBYZERO | FE_OVERFLOW); };
    boxes.duringWrite = [](int) { std::feraiseexcept(FE_INVALID); };
    std::feraiseexcept(FE_INVALID);

    const auto error = press(p, 1, boxes);

    QVERIFY2(!error.has_value(), error ? error->what() : "");
    QCOMPARE(textsOf(p, boxes), (QStringList{"100", "27.78", "54"}));
}

void ConvertFromRowTest::doublingRuleIsExact() {
    const auto rule = pageNumber(3).table.rule(4, 5);  // Kvarta to Pinta
    QVERIFY(rule.has_value());
    for (const double value : {0.1, -3.3, 1.2345678901234e-300, 4.9e-324, 8.9e307}) {
        const double doubled = qimbar::convert::applyRule(value, *rule);
        QCOMPARE(std::bit_cast<quint64>(doubled), std::bit_cast<quint64>(value + value));
    }
}

void ConvertFromRowTest::affineRuleRoundsTwice() {
    // Farengeyt to Selsiy: the product is rounded before the offset is added.
    const auto rule = pageNumber(6).table.rule(3, 1);
    QVERIFY(rule.has_value());
    int fusedWouldDiffer = 0;
    for (int i = 1; i <= 2000; ++i) {
        volatile double value = 0.37 * i;
        volatile double product = value * rule->multiplier;
        const double twoSteps = product - 17.78;
        const double result = qimbar::convert::applyRule(value, *rule);
        QCOMPARE(std::bit_cast<quint64>(result), std::bit_cast<quint64>(twoSteps));
        if (std::fma(value, rule->multiplier, rule->offset) != twoSteps) {
            ++fusedWouldDiffer;
        }
    }
    QVERIFY(fusedWouldDiffer > 0);  // the values do tell the two apart
}

QTEST_APPLESS_MAIN(ConvertFromRowTest)
#include "tst_convert_from_row.moc"
