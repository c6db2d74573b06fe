// The shared window layer on its own: the description against the keyboard
// order written out independently, twips to pixels at any DPI, the unit
// explanations and the press routine's messages.
#include "app/press.h"
#include "app/unit_explanation.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "tests/app/expected_layout.h"
#include "tests/support/memory_boxes.h"

#include <algorithm>
#include <doctest/doctest.h>
#include <string>

using qimbar::app::twipsToPixels;

TEST_CASE("the description keeps the keyboard order") {
    const auto order = qimbar::testing::keyboardOrder();
    REQUIRE(order.size() == 130);
    for (const auto& control : qimbar::app::controls) {
        CAPTURE(control.name);
        const auto at = std::find(order.begin(), order.end(), control.name);
        REQUIRE(at != order.end());
        CHECK(at - order.begin() == control.tabIndex);
    }
}

TEST_CASE("twips to pixels at any DPI") {
    struct Case {
        int twips;
        int dpi;
        int pixels;
    };
    const Case cases[] = {
        {7335, 96, 489},  {6360, 96, 424},      {520, 96, 35},    {15, 96, 1},      {7, 96, 0},
        {8, 96, 1},       {-72720, 96, -4848},  {7335, 144, 733}, {6360, 144, 636}, {520, 144, 52},
        {1215, 144, 121}, {-72720, 144, -7272}, {7335, 120, 611}, {7335, 192, 978}, {520, 192, 69},
        {1440, 96, 96},   {1440, 144, 144},     {0, 144, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.twips);
        CAPTURE(c.dpi);
        CHECK(twipsToPixels(c.twips, c.dpi) == c.pixels);
    }
}

TEST_CASE("each unit is explained in the page's first unit") {
    struct Case {
        int box;
        const char* explanation;
    };
    const Case cases[] = {
        {1, "1 Metr = 3.281 Fut"},
        {5, "1 Arshin = 0.7 Metr"},
        {10, "1 Versta = 1067 Metr"},
        {27, "1 Pud = 16 Kilogramm"},
        {30, "1 Litr = 0.001 Kub metr"},
        {38, "1 Uzel = 1.852 Km/soat"},
        {42, "1 Akr = 4047 Kvadrat metr"},
        {43, "Kelvin = Selsiy + 273"},
        {44, "Selsiy = Kelvin \u2212 273"},
        {45, "Selsiy = Farengeyt \u00D7 0.555 \u2212 17.78"},
        {46, "Selsiy = Reomyur \u00D7 1.25"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.box);
        const auto row = qimbar::convert::rowOfBox(c.box);
        REQUIRE(row.page != nullptr);
        CHECK(qimbar::app::unitExplanation(*row.page, row.row) == c.explanation);
    }
}

TEST_CASE("the press routine turns every failure into its message") {
    qimbar::testing::MemoryBoxes boxes(29, 35, "old");
    boxes.setText(29, "1");
    CHECK(qimbar::app::pressRow(3, 1, boxes) == std::nullopt);
    CHECK(boxes.text(30) == "1000");

    boxes.setText(29, "abc");
    CHECK(qimbar::app::pressRow(3, 1, boxes) == "Kiritilgan qiymat son emas.");

    boxes.setText(29, "2");
    boxes.failWrite(2, qimbar::platform::kControlGone);
    CHECK(qimbar::app::pressRow(3, 1, boxes) == "Maydonga yozib bo'lmadi.");
    CHECK(boxes.text(30) == "2000");
    CHECK(boxes.text(31) == "220.1");  // the failed write left the old text

    boxes.failRead(1, qimbar::platform::kAccessFailed);
    CHECK(qimbar::app::pressRow(3, 1, boxes) == "Maydon matnini o'qib bo'lmadi.");
}
