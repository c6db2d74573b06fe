// The shared window layer on its own: the description against the keyboard
// order written out independently, twips to pixels at any DPI, the unit
// explanations and the press routine's messages.
#include "app/colour.h"
#include "app/press.h"
#include "app/row_view.h"
#include "app/texts.h"
#include "app/unit_explanation.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "tests/app/expected_layout.h"
#include "tests/support/memory_boxes.h"

#include <algorithm>
#include <cctype>
#include <doctest/doctest.h>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using qimbar::app::twipsToPixels;

TEST_CASE("the description keeps the keyboard order") {
    const auto order = qimbar::testing::keyboardOrder();
    REQUIRE(order.size() == qimbar::app::controls.size());
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

TEST_CASE("every error says what happened and what to do, after its unit") {
    using qimbar::platform::ErrorKind;
    const ErrorKind kinds[] = {ErrorKind::EmptyBox,       ErrorKind::NotANumber,
                               ErrorKind::NumberTooLarge, ErrorKind::Overflow,
                               ErrorKind::DivisionByZero, ErrorKind::InvalidOperation,
                               ErrorKind::BoxNotRead,     ErrorKind::BoxNotWritten};
    std::set<std::string_view> seen;
    for (const ErrorKind kind : kinds) {
        const std::string_view text = qimbar::app::texts::errorText(kind);
        CAPTURE(text);
        // Lower case after "Metr: ", two sentences, ASCII apostrophes only,
        // and no "maydon", which is the Area page's name.
        REQUIRE(!text.empty());
        CHECK(std::islower(static_cast<unsigned char>(text.front())));
        CHECK(text.ends_with('.'));
        CHECK(text.find(". ") != std::string_view::npos);
        CHECK(std::all_of(text.begin(), text.end(), [](char c) { return c > 0; }));
        CHECK(text.find("maydon") == std::string_view::npos);
        seen.insert(text);
    }
    // Only the two faults of the arithmetic itself share their words.
    CHECK(seen.size() == std::size(kinds) - 1);
    CHECK(qimbar::app::texts::errorMessage("Metr", ErrorKind::EmptyBox) ==
          "Metr: " + std::string(qimbar::app::texts::errorText(ErrorKind::EmptyBox)));
}

TEST_CASE("the row view joins each unit to its controls, in reading order") {
    using qimbar::app::rowView;
    const auto& arshin = rowView(1, 5);
    CHECK(arshin.label->name == "Label6");
    CHECK(arshin.box->name == "Text5");
    CHECK(arshin.button->name == "Command5");
    CHECK(arshin.explanation == "1 Arshin = 0.7 Metr");
    CHECK(arshin.buttonName == "Hisoblash: Arshin");
    CHECK(qimbar::app::rowOf(*qimbar::app::findControl("Command46"))->caption() == "Reomyur");
    CHECK(qimbar::app::rowOf(*qimbar::app::findControl("Text11")) == nullptr);
    CHECK(qimbar::app::rowViews().size() == std::size_t(qimbar::convert::kRowCount));

    std::vector<std::string_view> names;
    for (const auto* control : qimbar::app::readingOrder(4)) {
        names.push_back(control->name);
    }
    CHECK(names == std::vector<std::string_view>{"Label27", "Text36", "Command36", "Label28",
                                                 "Text37", "Command37", "Label29", "Text38",
                                                 "Command38"});
}

TEST_CASE("the press routine turns every failure into its message") {
    qimbar::testing::MemoryBoxes boxes(29, 35, "old");
    boxes.setText(29, "1");
    CHECK(qimbar::app::pressRow(3, 1, boxes) == std::nullopt);
    CHECK(boxes.text(30) == "1000");

    boxes.setText(29, "abc");
    using qimbar::app::PressFailure;
    using qimbar::app::texts::errorMessage;
    using qimbar::platform::ErrorKind;
    CHECK(qimbar::app::pressRow(3, 1, boxes) ==
          PressFailure{errorMessage("Kub metr", ErrorKind::NotANumber), 29});

    boxes.setText(29, "2");
    boxes.failWrite(2, qimbar::platform::kControlGone);
    // The message names the unit whose box failed, not the one pressed.
    CHECK(qimbar::app::pressRow(3, 1, boxes) ==
          PressFailure{errorMessage("Gallon", ErrorKind::BoxNotWritten), 31});
    CHECK(boxes.text(30) == "2000");
    CHECK(boxes.text(31) == "220.1");  // the failed write left the old text

    boxes.failRead(1, qimbar::platform::kAccessFailed);
    CHECK(qimbar::app::pressRow(3, 1, boxes) ==
          PressFailure{errorMessage("Kub metr", ErrorKind::BoxNotRead), 29});
}

TEST_CASE("a press that converted says from what, the first two results and how many more") {
    struct Case {
        int page;
        int row;
        const char* typed;
        std::vector<std::string_view> said;  // in this order
        const char* unsaid;
    };
    const Case cases[] = {
        {4, 1, " 100\n", {"100 Km/soat", "27.78 metr/sek", "54 Uzel."}, "\n"},
        {3, 1, "1,5", {"1,5 Kub metr", "1500 Litr", "330.15 Gallon", " 4 "}, "Kvarta"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        const auto& page = qimbar::convert::page(c.page);
        qimbar::testing::MemoryBoxes boxes(page.row(1).box, page.row(page.rowCount()).box);
        boxes.setText(page.row(c.row).box, c.typed);
        REQUIRE_FALSE(qimbar::app::pressRow(c.page, c.row, boxes));
        const std::string said = qimbar::app::pressSummary(c.page, c.row, boxes);
        CAPTURE(said);
        std::size_t at = 0;
        for (const std::string_view part : c.said) {
            at = said.find(part, at);
            CHECK(at != std::string::npos);
        }
        CHECK(said.find(c.unsaid) == std::string::npos);
    }
}

TEST_CASE("a box that throws becomes a message too") {
    // A toolkit's box may throw where it should report: whatever it throws,
    // the press ends with a message and the boxes written before it stand.
    struct Throwing final : qimbar::platform::TextBoxes {
        qimbar::testing::MemoryBoxes real{29, 35, "old"};
        int throwAt = 0;  // the box whose access throws
        std::function<void()> raise;
        struct Box final : qimbar::platform::TextBox {
            Throwing& owner;
            int number;
            Box(Throwing& o, int n) : owner(o), number(n) {}
            qimbar::platform::Status readText(std::string& text) override {
                return owner.real.textBox(number).readText(text);
            }
            qimbar::platform::Status writeText(std::string_view text) override {
                if (number == owner.throwAt) {
                    owner.raise();
                }
                return owner.real.textBox(number).writeText(text);
            }
        };
        std::vector<std::unique_ptr<Box>> boxes;
        qimbar::platform::TextBox& textBox(int number) override {
            boxes.push_back(std::make_unique<Box>(*this, number));
            return *boxes.back();
        }
    };
    struct Case {
        const char* name;
        std::function<void()> raise;
        std::string_view message;
    };
    const Case cases[] = {
        {"a standard exception", [] { throw std::runtime_error("the box is gone"); },
         qimbar::app::texts::kUnexpected},
        {"something else", [] { throw 42; }, qimbar::app::texts::kUnexpected},
        {"no memory", [] { throw std::bad_alloc(); }, qimbar::app::texts::kOutOfMemory},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        Throwing boxes;
        boxes.real.setText(29, "1");
        boxes.throwAt = 31;
        boxes.raise = c.raise;
        CHECK(qimbar::app::pressRow(3, 1, boxes) ==
              qimbar::app::PressFailure{std::string(c.message), 0});
        CHECK(boxes.real.text(30) == "1000");
        CHECK(boxes.real.text(31) == "old");
    }
}

TEST_CASE("the credit line's colour stays readable on any background") {
    using qimbar::app::contrastRatio;
    using qimbar::app::Rgb;
    constexpr Rgb black{0, 0, 0};
    constexpr Rgb white{255, 255, 255};
    CHECK(contrastRatio(black, white) == doctest::Approx(21.0));
    CHECK(contrastRatio(white, black) == doctest::Approx(21.0));
    CHECK(contrastRatio({12, 34, 56}, {12, 34, 56}) == doctest::Approx(1.0));
    CHECK(contrastRatio({118, 118, 118}, white) == doctest::Approx(4.54).epsilon(0.01));

    struct Case {
        const char* name;
        Rgb background;
        Rgb text;  // the system's text colour on it
        Rgb expected;
    };
    const Case cases[] = {
        {"the classic button face", {212, 208, 200}, black, qimbar::app::kCreditColour},
        {"Windows 10's button face", {240, 240, 240}, black, qimbar::app::kCreditColour},
        {"a dark palette", {53, 53, 53}, {240, 240, 240}, {240, 240, 240}},
        {"high contrast black", black, white, white},
        {"high contrast white", white, black, qimbar::app::kCreditColour},
        {"a dark face with a poor text colour", {30, 30, 60}, {60, 60, 90}, white},
        {"a mid grey with a poor text colour", {128, 128, 128}, {120, 120, 120}, black},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        const Rgb chosen = qimbar::app::creditColourOn(c.background, c.text);
        CHECK(chosen == c.expected);
        CHECK(contrastRatio(chosen, c.background) >= qimbar::app::kReadableContrast);
    }
}
