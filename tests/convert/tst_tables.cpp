// The 218 constants checked against what is independent of their transcription:
// the unit sizes the tables were rounded from, the printed products of each
// rule with its reverse, and the fixed points of the temperature scales.
#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "platform/number_text.h"
#include "tests/support/bits.h"
#include "tests/support/memory_boxes.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <doctest/doctest.h>
#include <string>
#include <vector>

using qimbar::convert::ConversionRule;
using qimbar::convert::Page;
using qimbar::convert::page;

namespace {

ConversionRule ruleOf(int pageNumber, int source, int target) {
    const auto rule = page(pageNumber).table.rule(source, target);
    REQUIRE_MESSAGE(rule.has_value(), "no rule ", source, " -> ", target, " on page ", pageNumber);
    return *rule;
}

}  // namespace

TEST_CASE("every multiplier is rounded from one set of unit sizes") {
    // Each multiplier is the ratio of the two sizes rounded to four significant
    // figures, so a wrong digit anywhere in it shows.
    struct Case {
        const char* name;
        int page;
        std::vector<double> sizes;  // each row's unit in one base unit
    };
    const Case cases[] = {
        {"Uzunlik, metres", 1, {1, 0.3048, 0.9144, 0.025, 0.7, 2.1, 1850, 1600, 7470, 1067}},
        {"Og'irlik, kilograms", 2, {1, 0.001, 0.0002, 0.02835, 0.00177, 0.41, 16, 0.49}},
        {"Hajm, litres", 3, {1000, 1, 4.544, 1.136, 0.568, 36.36, 159}},
        {"Tezlik, metres per second", 4, {1 / 3.6, 1, 0.5144}},
        {"Maydon, square metres", 5, {1, 10000, 100, 4047}},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        const Page& p = page(c.page);
        REQUIRE(static_cast<int>(c.sizes.size()) == p.rowCount());
        for (const auto& entry : p.table.rules()) {
            const double ratio = c.sizes.at(static_cast<std::size_t>(entry.source - 1)) /
                                 c.sizes.at(static_cast<std::size_t>(entry.target - 1));
            const double halfUnit = 0.5 * std::pow(10.0, std::floor(std::log10(ratio)) - 3);
            const double error = std::abs(entry.rule.multiplier - ratio);
            CHECK_MESSAGE(error <= halfUnit * (1 + 1e-9), p.row(entry.source).caption, " -> ",
                          p.row(entry.target).caption, ": ", entry.rule.multiplier,
                          ", expected about ", ratio);
            CHECK(entry.rule.offset == 0.0);
        }
    }
}

TEST_CASE("a rule times its reverse gives the printed product") {
    struct Case {
        const char* name;
        int page;
        int first;
        int second;
        double product;  // as printed with the tables
    };
    const Case cases[] = {
        {"Metr, Dyuym", 1, 1, 4, 1.0},
        {"Metr, Fut", 1, 1, 2, 1.0000488},
        {"Metr, Yard", 1, 1, 3, 1.0003536},
        {"Fut, Yard", 1, 2, 3, 0.9999},
        {"Arshin, Sajen", 1, 5, 6, 0.9999},
        {"Fut, Dyuym", 1, 2, 4, 0.9998238},
        {"Dyuym, Sajen", 1, 4, 6, 0.9996},
        {"Sajen, Quruqyo'l mili", 1, 6, 8, 0.9996128},
        {"Quruqyo'l mili, Versta", 1, 8, 10, 1.00035},

        {"Kilogramm, Gramm", 2, 1, 2, 1.0},
        {"Gramm, Karat", 2, 2, 3, 1.0},
        {"Kilogramm, Unsiya", 2, 1, 4, 0.9999045},
        {"Kilogramm, Draxma", 2, 1, 5, 1.00005},
        {"Kilogramm, Funt", 2, 1, 6, 0.99999},
        {"Kilogramm, Livr", 2, 1, 8, 1.00009},
        {"Unsiya, Draxma", 2, 4, 5, 1.0001286},
        {"Unsiya, Karat", 2, 4, 3, 0.9996935},
        {"Pud, Funt", 2, 7, 6, 0.9996924},
        {"Pud, Livr", 2, 7, 8, 0.999743},

        {"Kub metr, Litr", 3, 1, 2, 1.0},
        {"Gallon, Kvarta", 3, 3, 4, 1.0},
        {"Gallon, Pinta", 3, 3, 5, 1.0},
        {"Kvarta, Pinta", 3, 4, 5, 1.0},
        {"Kvarta, Barrel", 3, 4, 7, 1.0003},
        {"Gallon, Bushel", 3, 3, 6, 1.00025},
        {"Litr, Pinta", 3, 2, 5, 1.000248},
        {"Litr, Gallon", 3, 2, 3, 1.0001344},
        {"Bushel, Barrel", 3, 6, 7, 1.0001051},
        {"Litr, Kvarta", 3, 2, 4, 1.0000208},
        {"Gallon, Barrel", 3, 3, 7, 1.0000142},
        {"Kvarta, Bushel", 3, 4, 6, 0.9999924},
        {"Litr, Barrel", 3, 2, 7, 0.999951},
        {"Litr, Bushel", 3, 2, 6, 0.9999},
        {"Pinta, Bushel", 3, 5, 6, 0.9998362},
        {"Pinta, Barrel", 3, 5, 7, 0.9998028},
        // The Kub metr pairs other than Litr have the product of the Litr pair.
        {"Kub metr, Gallon", 3, 1, 3, 1.0001344},
        {"Kub metr, Kvarta", 3, 1, 4, 1.0000208},
        {"Kub metr, Pinta", 3, 1, 5, 1.000248},
        {"Kub metr, Bushel", 3, 1, 6, 0.9999},
        {"Kub metr, Barrel", 3, 1, 7, 0.999951},

        {"Km/soat, metr/sek", 4, 1, 2, 1.00008},
        {"Km/soat, Uzel", 4, 1, 3, 1.00008},
        {"metr/sek, Uzel", 4, 2, 3, 0.9999936},

        {"Kvadrat metr, Gektar", 5, 1, 2, 1.0},
        {"Gektar, Ar", 5, 2, 3, 1.0},
        {"Kvadrat metr, Akr", 5, 1, 4, 1.0000137},
        {"Gektar, Akr", 5, 2, 4, 1.0000137},
        {"Ar, Akr", 5, 3, 4, 1.0000137},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        const double there = ruleOf(c.page, c.first, c.second).multiplier;
        const double back = ruleOf(c.page, c.second, c.first).multiplier;
        // The products are exact in decimal; in doubles they are within a few ulps.
        CHECK_MESSAGE(std::abs(there * back - c.product) <= 1e-14, there, " x ", back, " = ",
                      there * back);
    }
}

TEST_CASE("temperature rules keep freezing and boiling water") {
    // Freezing and boiling water on each scale: the rounded rules land within
    // a degree and a half of them, so a wrong digit or sign shows.
    // Selsiy, Kelvin (with the table's 273), Farengeyt, Reomyur.
    const std::array<double, 4> freezing{0, 273, 32, 0};
    const std::array<double, 4> boiling{100, 373, 212, 80};
    const Page& harorat = page(6);
    for (int source = 1; source <= harorat.rowCount(); ++source) {
        for (int target = 1; target <= harorat.rowCount(); ++target) {
            if (source == target) {
                continue;
            }
            CAPTURE(harorat.row(source).caption);
            CAPTURE(harorat.row(target).caption);
            const ConversionRule rule = ruleOf(6, source, target);
            const auto s = static_cast<std::size_t>(source - 1);
            const auto t = static_cast<std::size_t>(target - 1);
            for (const auto* points : {&freezing, &boiling}) {
                const double result = qimbar::convert::applyRule((*points)[s], rule);
                CHECK_MESSAGE(std::abs(result - (*points)[t]) <= 1.5, (*points)[s], " gives ",
                              result);
            }
        }
    }
}

TEST_CASE("a press of 1 writes the matrix line, bit for bit") {
    // 1 × multiplier is the multiplier: the text written must read back to it
    // bit for bit, for every one of the page's rules.
    for (const Page& p : qimbar::convert::pages) {
        if (p.number == 6) {
            continue;  // affine: 1 is no unit there
        }
        for (const auto& row : p.rows) {
            CAPTURE(row.caption);
            const int first = p.row(1).box;
            qimbar::testing::MemoryBoxes boxes(first, first + p.rowCount() - 1, "-");
            boxes.setText(row.box, "1");

            qimbar::convert::ConvertFromRow(p, row.row, boxes);

            for (const auto& entry : p.table.targetsOf(row.row)) {
                const std::string& text = boxes.text(p.row(entry.target).box);
                const auto parsed = qimbar::platform::parseNumber(text);
                REQUIRE_MESSAGE(std::holds_alternative<double>(parsed), text);
                CHECK(qimbar::testing::bitsOf(std::get<double>(parsed)) ==
                      qimbar::testing::bitsOf(entry.rule.multiplier));
            }
        }
    }
}

TEST_CASE("offsets only on the temperature page") {
    int withOffset = 0;
    for (const Page& page : qimbar::convert::pages) {
        for (const auto& entry : page.table.rules()) {
            if (entry.rule.offset != 0.0) {
                CHECK(page.number == 6);
                ++withOffset;
            }
        }
    }
    CHECK(withOffset == 10);
}
