#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "platform/run_time_error.h"
#include "tests/support/bits.h"
#include "tests/support/memory_boxes.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <doctest/doctest.h>
#include <optional>
#include <string>
#include <vector>

using qimbar::convert::ConvertFromRow;
using qimbar::convert::Page;
using qimbar::convert::page;
using qimbar::platform::ErrorKind;
using qimbar::platform::RunTimeError;
using qimbar::platform::Status;
using qimbar::testing::MemoryBoxes;
using Texts = std::vector<std::string>;

namespace {

constexpr const char* kOld = "old";

MemoryBoxes boxesFor(const Page& page, const char* initial = kOld) {
    const int first = page.row(1).box;
    return {first, first + page.rowCount() - 1, initial};
}

Texts textsOf(const Page& page, const MemoryBoxes& boxes) {
    Texts texts;
    for (const auto& row : page.rows) {
        texts.push_back(boxes.text(row.box));
    }
    return texts;
}

// Runs the press and returns the error it raised, if any.
std::optional<RunTimeError> press(const Page& page, int row, MemoryBoxes& boxes) {
    try {
        ConvertFromRow(page, row, boxes);
    } catch (const RunTimeError& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace

TEST_CASE("a press writes every other row of its page") {
    struct Case {
        const char* name;
        int page;
        int row;
        const char* input;
        Texts expected;  // every box of the page, row order
    };
    // clang-format off
    const Case cases[] = {
        // Uzunlik
        {"1 Metr", 1, 1, "1", {"1", "3.281", "1.094", "40", "1.429", "0.4762", "0.0005405", "0.000625", "0.0001339", "0.0009372"}},
        {"1 Fut", 1, 2, "1", {"0.3048", "1", "0.3333", "12.19", "0.4354", "0.1451", "0.0001648", "0.0001905", "4.08E-05", "0.0002857"}},
        {"3.281 Fut", 1, 2, "3.281", {"1.0000488", "3.281", "1.0935573", "39.99539", "1.4285474", "0.4760731", "0.0005407088", "0.0006250305", "0.0001338648", "0.0009373817"}},
        {"40 Dyuym", 1, 4, "40", {"1", "3.2808", "1.0936", "40", "1.4284", "0.476", "0.0005404", "0.0006252", "0.00013388", "0.0009372"}},
        {"3 Fut", 1, 2, "3", {"0.9144", "3", "0.9999", "36.57", "1.3062", "0.4353", "0.0004944", "0.0005715", "0.0001224", "0.0008571"}},
        {"1 Qadimgi rus mili", 1, 9, "1", {"7470", "24510", "8169", "298800", "10670", "3557", "4.038", "4.669", "1", "7.001"}},
        {"1 Quruqyo'l mili", 1, 8, "1", {"1600", "5249", "1750", "64000", "2286", "761.9", "0.8649", "1", "0.2142", "1.5"}},
        {"1 Versta", 1, 10, "1", {"1067", "3501", "1167", "42680", "1524", "508.1", "0.5768", "0.6669", "0.1428", "1"}},
        {"-1 Metr", 1, 1, "-1", {"-1", "-3.281", "-1.094", "-40", "-1.429", "-0.4762", "-0.0005405", "-0.000625", "-0.0001339", "-0.0009372"}},
        // Og'irlik
        {"1 Kilogramm", 2, 1, "1", {"1", "1000", "5000", "35.27", "565", "2.439", "0.0625", "2.041"}},
        {"1 Pud", 2, 7, "1", {"16", "16000", "80000", "564.4", "9040", "39.02", "1", "32.65"}},
        {"2 Funt", 2, 6, "2", {"0.82", "820", "4100", "28.92", "463.2", "2", "0.05124", "1.6734"}},
        {"39.02 Funt", 2, 6, "39.02", {"15.9982", "15998.2", "79991", "564.2292", "9037.032", "39.02", "0.9996924", "32.648034"}},
        {"28.35 Gramm", 2, 2, "28.35", {"0.02835", "28.35", "141.75", "0.9999045", "16.01775", "0.06914565", "0.001771875", "0.05786235"}},
        {"5 Karat", 2, 3, "5", {"0.001", "1", "5", "0.035275", "0.565", "0.002439", "6.25E-05", "0.002041"}},
        // Hajm
        {"1 Kub metr", 3, 1, "1", {"1", "1000", "220.1", "880.3", "1761", "27.5", "6.289"}},
        {"3 Kvarta", 3, 4, "3", {"0.003408", "3.408", "0.75", "3", "6", "0.09372", "0.021435"}},
        {"8.002 Gallon", 3, 3, "8.002", {"0.036361088", "36.361088", "8.002", "32.008", "64.016", "1.00025", "0.22869716"}},
        {"8 Gallon", 3, 3, "8", {"0.036352", "36.352", "8", "32", "64", "1", "0.22864"}},
        {"4.544 Litr", 3, 2, "4.544", {"0.004544", "4.544", "1.0001344", "4.0000832", "8.001984", "0.12496", "0.028577216"}},
        {"-1 Barrel", 3, 7, "-1", {"-0.159", "-159", "-34.99", "-140", "-279.9", "-4.373", "-1"}},
        // Tezlik
        {"100 Km/soat", 4, 1, "100", {"100", "27.78", "54"}},
        {"10 metr/sek", 4, 2, "10", {"36", "10", "19.44"}},
        {"1 Uzel", 4, 3, "1", {"1.852", "0.5144", "1"}},
        {"0.2778 metr/sek", 4, 2, "0.2778", {"1.00008", "0.2778", "0.5400432"}},
        // Maydon
        {"1 Gektar", 5, 2, "1", {"10000", "1", "100", "2.471"}},
        {"1 Ar", 5, 3, "1", {"100", "0.01", "1", "0.02471"}},
        {"5000 Kvadrat metr", 5, 1, "5000", {"5000", "0.5", "50", "1.2355"}},
        {"1 Akr", 5, 4, "1", {"4047", "0.4047", "40.47", "1"}},
        {"4047 Kvadrat metr", 5, 1, "4047", {"4047", "0.4047", "40.47", "1.0000137"}},
        // Harorat
        {"100 Selsiy", 6, 1, "100", {"100", "373", "212", "80"}},
        {"-40 Selsiy", 6, 1, "-40", {"-40", "233", "-40", "-32"}},
        {"0 Selsiy", 6, 1, "0", {"0", "273", "32", "0"}},
        {"0 Kelvin", 6, 2, "0", {"-273", "0", "-459.4", "-218.4"}},
        {"80 Reomyur", 6, 4, "80", {"100", "373", "212", "80"}},
        {"212 Farengeyt", 6, 3, "212", {"99.88", "371.8", "212", "80.12"}},
        {"32 Farengeyt", 6, 3, "32", {"-0.0199999999999996", "272.8", "32", "0.0199999999999996"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        const Page& p = page(c.page);
        MemoryBoxes boxes = boxesFor(p);
        boxes.setText(p.row(c.row).box, c.input);

        ConvertFromRow(p, c.row, boxes);

        CHECK(textsOf(p, boxes) == c.expected);
        CHECK(boxes.reads() == p.rowCount() - 1);
        CHECK(boxes.writes() == p.rowCount() - 1);
    }
}

TEST_CASE("the source is read anew for every target") {
    // Each read sees a new text: every target must be computed from its own read.
    const Page& p = page(3);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(4).box, "1");
    int reads = 0;
    boxes.afterRead = [&reads](int, std::string& text) { text = std::to_string(++reads + 1); };

    ConvertFromRow(p, 4, boxes);

    // Kvarta 1, 2, 3, 4, 5, 6 into Kub metr, Litr, Gallon, Pinta, Bushel, Barrel.
    CHECK(textsOf(p, boxes) == Texts{"0.001136", "2.272", "0.75", "7", "8", "0.1562", "0.04287"});
}

TEST_CASE("boxes are read and written in target order") {
    const Page& p = page(2);
    MemoryBoxes boxes = boxesFor(p, "1");

    ConvertFromRow(p, 4, boxes);

    std::vector<MemoryBoxes::Access> expected;
    for (const int target : {21, 22, 23, 25, 26, 27, 28}) {
        expected.push_back({MemoryBoxes::Op::Read, 24});
        expected.push_back({MemoryBoxes::Op::Write, target});
    }
    CHECK(boxes.log() == expected);
}

TEST_CASE("pressing twice gives the same texts") {
    const Page& p = page(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(5).box, "12,5");
    ConvertFromRow(p, 5, boxes);
    const Texts first = textsOf(p, boxes);
    ConvertFromRow(p, 5, boxes);
    CHECK(textsOf(p, boxes) == first);
    CHECK(first.at(4) == "12,5");  // the source keeps its text as typed
}

TEST_CASE("a press converts from an earlier result") {
    const Page& p = page(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(p.row(1).box, "1");
    ConvertFromRow(p, 1, boxes);
    CHECK(boxes.text(2) == "3.281");
    ConvertFromRow(p, 2, boxes);
    CHECK(boxes.text(1) == "1.0000488");
}

TEST_CASE("a text that is no number writes nothing") {
    struct Case {
        const char* name;
        const char* input;
        ErrorKind kind;
    };
    const Case cases[] = {
        {"letters", "abc", ErrorKind::NotANumber},
        {"empty", "", ErrorKind::EmptyBox},
        {"number then letters", "12abc", ErrorKind::NotANumber},
        {"beyond a double", "1e309", ErrorKind::NumberTooLarge},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        const Page& p = page(1);
        MemoryBoxes boxes = boxesFor(p);
        boxes.setText(p.row(3).box, c.input);

        const auto error = press(p, 3, boxes);

        REQUIRE(error.has_value());
        CHECK(error->kind() == c.kind);
        CHECK(boxes.reads() == 1);
        CHECK(boxes.writes() == 0);
        Texts expected(10, kOld);
        expected[2] = c.input;
        CHECK(textsOf(p, boxes) == expected);
    }
}

TEST_CASE("a failed read stops the press at that target") {
    const Texts written{"3.281",     "1.094",    "40",        "1.429",    "0.4762",
                        "0.0005405", "0.000625", "0.0001339", "0.0009372"};
    for (const int failingRead : {1, 2, 5, 9}) {
        CAPTURE(failingRead);
        const Page& p = page(1);
        MemoryBoxes boxes = boxesFor(p);
        boxes.setText(1, "1");
        boxes.failRead(failingRead, Status{-7});

        const auto error = press(p, 1, boxes);

        REQUIRE(error.has_value());
        CHECK(error->kind() == ErrorKind::BoxNotRead);
        CHECK(error->status().code == -7);
        CHECK(error->boxNumber() == 1);
        CHECK(boxes.writes() == failingRead - 1);
        const Texts texts = textsOf(p, boxes);
        CHECK(texts.at(0) == "1");
        for (int target = 2; target <= 10; ++target) {
            const std::string expected =
                target - 1 < failingRead ? written.at(std::size_t(target - 2)) : kOld;
            CHECK(texts.at(std::size_t(target - 1)) == expected);
        }
    }
}

TEST_CASE("a failed write stops the press at that target") {
    const std::array targets{29, 30, 31, 33, 34, 35};
    const Texts written{"0.003408", "3.408", "0.75", "6", "0.09372", "0.021435"};
    for (const int failingWrite : {1, 3, 6}) {
        CAPTURE(failingWrite);
        const Page& p = page(3);
        MemoryBoxes boxes = boxesFor(p);
        boxes.setText(32, "3");
        boxes.failWrite(failingWrite, qimbar::platform::kAccessFailed);

        const auto error = press(p, 4, boxes);

        REQUIRE(error.has_value());
        CHECK(error->kind() == ErrorKind::BoxNotWritten);
        CHECK(error->status().code == qimbar::platform::kAccessFailed.code);
        CHECK(error->boxNumber() == targets.at(static_cast<std::size_t>(failingWrite - 1)));
        CHECK(boxes.reads() == failingWrite);
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const std::string expected =
                static_cast<int>(i) + 1 < failingWrite ? written.at(i) : kOld;
            CHECK(boxes.text(targets.at(i)) == expected);
        }
        CHECK(boxes.text(32) == "3");
    }
}

TEST_CASE("an overflow part-way keeps the earlier targets") {
    // 1e304 Qadimgi rus mili: Metr is 7.47E+307, Fut (× 24510) is beyond a double.
    const Page& p = page(1);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(9, "1e304");

    const auto error = press(p, 9, boxes);

    REQUIRE(error.has_value());
    CHECK(error->kind() == ErrorKind::Overflow);
    Texts expected(10, kOld);
    expected[0] = "7.47E+307";
    expected[8] = "1e304";
    CHECK(textsOf(p, boxes) == expected);
    CHECK(boxes.writes() == 1);
}

// WebAssembly keeps no floating-point flags, so there is none to clear there.
#if !defined(__EMSCRIPTEN__)
TEST_CASE("flags raised by a box access are no fault") {
    // Flags raised before the press or by a box access are cleared when it returns.
    const Page& p = page(4);
    MemoryBoxes boxes = boxesFor(p);
    boxes.setText(36, "100");
    boxes.afterRead = [](int, std::string&) { std::feraiseexcept(FE_DIVBYZERO | FE_OVERFLOW); };
    boxes.duringWrite = [](int) { std::feraiseexcept(FE_INVALID); };
    std::feraiseexcept(FE_INVALID);

    const auto error = press(p, 1, boxes);

    CHECK_MESSAGE(!error.has_value(), (error ? error->what() : ""));
    CHECK(textsOf(p, boxes) == Texts{"100", "27.78", "54"});
}

#endif

TEST_CASE("the doubling rule is exact") {
    const auto rule = page(3).table.rule(4, 5);  // Kvarta to Pinta
    REQUIRE(rule.has_value());
    for (const double value : {0.1, -3.3, 1.2345678901234e-300, 4.9e-324, 8.9e307}) {
        CAPTURE(value);
        const double doubled = qimbar::convert::applyRule(value, *rule);
        CHECK(qimbar::testing::bitsOf(doubled) == qimbar::testing::bitsOf(value + value));
    }
}

TEST_CASE("an affine rule rounds twice, never fused") {
    // Farengeyt to Selsiy: the product is rounded before the offset is added.
    const auto rule = page(6).table.rule(3, 1);
    REQUIRE(rule.has_value());
    int fusedWouldDiffer = 0;
    for (int i = 1; i <= 2000; ++i) {
        volatile double value = 0.37 * i;
        volatile double product = value * rule->multiplier;
        const double twoSteps = product - 17.78;
        const double result = qimbar::convert::applyRule(value, *rule);
        REQUIRE(qimbar::testing::bitsOf(result) == qimbar::testing::bitsOf(twoSteps));
        if (std::fma(value, rule->multiplier, rule->offset) != twoSteps) {
            ++fusedWouldDiffer;
        }
    }
    CHECK(fusedWouldDiffer > 0);  // the values do tell the two apart
}
