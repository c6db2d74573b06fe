// The window as it opens, and every control as the window description says,
// whichever page is shown.
#include "tests/app/expected_layout.h"
#include "tests/app/text_fits.h"
#include "tests/app/window_driver.h"

#include <algorithm>
#include <doctest/doctest.h>
#include <string>
#include <vector>

using qimbar::app::Kind;
using qimbar::testing::openWindow;

TEST_CASE("the window at start: \"Hajm\" in front, every box empty, focus on the tabs") {
    auto w = openWindow();
    CHECK(w->title() == "Qimbar birliklari");
    CHECK(w->clientArea() == qimbar::app::Pixels{0, 0, 489, 424});
    CHECK(w->tabCaptions() ==
          std::vector<std::string>{"Uzunlik", "Og'irlik", "Hajm", "Tezlik", "Maydon", "Harorat"});
    CHECK(w->currentPage() == 3);
    for (const auto& control : qimbar::app::controls) {
        if (control.kind == Kind::TextBox) {
            CAPTURE(control.name);
            CHECK(w->text(control.name).empty());
        }
    }
    CHECK(w->focused() == "SSTab1");
}

TEST_CASE("every control as described, whichever page is shown") {
    auto w = openWindow();
    const auto expected = qimbar::testing::expectedControls();
    REQUIRE(expected.size() == qimbar::app::controls.size());
    for (int selected = 1; selected <= 6; ++selected) {
        CAPTURE(selected);
        w->selectPage(selected);
        REQUIRE(w->currentPage() == selected);
        for (const auto& control : expected) {
            CAPTURE(control.name);
            REQUIRE(w->exists(control.name));
            CHECK(w->kind(control.name) == control.kind);
            CHECK(w->geometry(control.name) == control.geometry);
            if (control.kind == Kind::Label || control.kind == Kind::Button) {
                CHECK(w->caption(control.name) == control.caption);
            }
            // Page 0 holds the tab control and the credit line, always shown,
            // and the spare controls, never shown.
            const bool shown =
                control.page == selected || control.name == "SSTab1" || control.name == "Label1";
            CHECK(w->visible(control.name) == shown);
        }
    }
}

TEST_CASE("every control's text fits inside it") {
    auto w = openWindow();
    qimbar::testing::checkTextFits(*w);
}

TEST_CASE("a box has no length limit") {
    // A key typed after 40,000 characters: past 32,767, where an edit
    // control's own limit stops the typing unless the box lifts it.
    auto w = openWindow();
    const std::string longText(40000, '7');
    w->setText("Text29", longText);
    CHECK(w->text("Text29") == longText);
    w->type("Text29", "8");
    CHECK(w->text("Text29") == longText + "8");
}

TEST_CASE("the spare buttons do nothing") {
    auto w = openWindow();
    for (const int n : qimbar::testing::everyBox()) {
        w->setText("Text" + std::to_string(n), "1");
    }
    for (int k = 11; k <= 20; ++k) {
        const std::string name = "Command" + std::to_string(k);
        CAPTURE(name);
        w->click(name);
        CHECK(w->caption(name).empty());
    }
    for (const int n : qimbar::testing::everyBox()) {
        CAPTURE(n);
        CHECK(w->text("Text" + std::to_string(n)) == "1");
    }
    CHECK(w->takeErrors().empty());
}
