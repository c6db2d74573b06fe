// Whatever is pasted, a press either converts it or shows a clear message;
// the program goes on, and no box changes but as a press allows.
#include "app/press.h"
#include "app/texts.h"
#include "tests/app/expected_layout.h"
#include "tests/app/window_driver.h"
#include "tests/support/memory_boxes.h"

#include <algorithm>
#include <doctest/doctest.h>
#include <string>
#include <vector>

using qimbar::testing::openWindow;

namespace {

struct Pasted {
    const char* name;
    std::string text;
    const char* fut;      // what Fut shows, if the press converts
    std::string message;  // what is shown, if it does not
    bool whole = false;   // set as a whole text rather than pasted
};

std::string box(int n) {
    return "Text" + std::to_string(n);
}

}  // namespace

TEST_CASE("pasted text") {
    using qimbar::platform::ErrorKind;
    const std::string notANumber = qimbar::app::texts::errorMessage("Metr", ErrorKind::NotANumber);
    const std::string typedTooLarge =
        qimbar::app::texts::errorMessage("Metr", ErrorKind::NumberTooLarge);
    const std::string tooLarge = qimbar::app::texts::errorMessage("Metr", ErrorKind::Overflow);
    // Up to a megabyte of digits, as long as the shell takes in good time.
    const std::size_t digits = openWindow()->longestText();
    const std::vector<Pasted> cases{
        {"a run of digits", std::string(digits, '9'), "", typedTooLarge, true},
        {"a run of digits, tiny", "0," + std::string(digits, '0') + "1", "0", "", true},
        {"Arabic-Indic digits", "\u0661\u0662", "", notANumber},
        {"full-width digits", "\uFF11\uFF12", "", notANumber},
        {"right-to-left marks around", "\u200F12\u200F", "", notANumber},
        {"zero-width spaces around", "\u200B12\u200B", "", notANumber},
        {"combining character", "1\u03012", "", notANumber},
        // A spreadsheet cell or a line of a web page brings its line break.
        {"a spreadsheet cell", "12\n", "39.372", ""},
        {"a line of a web page", "\u00A012,5\u00A0\n", "41.0125", ""},
        {"tabs around", "\t12\t", "39.372", ""},
        {"1e308, beyond a double times 3.281", "1e308", "", tooLarge},
        {"1e309", "1e309", "", typedTooLarge},
        {"-0", "-0", "0", ""},
        {"hex", "0x10", "", notANumber},
        {"underscore groups", "1_000", "", notANumber},
        {"space groups", "1 000", "3281", ""},
        {"groups and a decimal comma", "1 000,5", "3282.6405", ""},
        {"two decimal marks", "1,000.5", "", notANumber},
        {"double mark", "1..5", "", notANumber},
        {"lone sign", "-", "", notANumber},
        {"lone decimal mark", ",", "", notANumber},
        {"every optional part", "+.5e-3", "0.0016405", ""},
    };
    for (const Pasted& c : cases) {
        CAPTURE(std::string_view(c.name));
        auto w = openWindow();
        for (const int n : qimbar::testing::everyBox()) {
            w->setText(box(n), "old");
        }
        w->selectPage(1);
        if (c.whole) {
            w->setText("Text1", c.text);
        } else {
            w->paste("Text1", c.text);
        }
        const std::string typed = w->text("Text1");
        REQUIRE(!typed.empty());

        w->click("Command1");

        CHECK(w->text("Text1") == typed);  // the source is never written
        const auto shown = w->takeErrors();
        if (std::string(c.message).empty()) {
            CHECK(shown.empty());
            CHECK(w->text("Text2") == c.fut);
            for (int n = 3; n <= 10; ++n) {
                CHECK(w->text(box(n)) != "old");
            }
        } else {
            REQUIRE(shown.size() == 1);
            CHECK(shown.front().message == c.message);
            for (int n = 2; n <= 10; ++n) {  // each failure here comes at the first target
                CHECK(w->text(box(n)) == "old");
            }
        }
        for (const int n : qimbar::testing::everyBox()) {
            if (qimbar::testing::pageOfBox(n) != 1) {
                CHECK(w->text(box(n)) == "old");
            }
        }
        // Still running: the next press converts.
        w->setText("Text1", "2");
        w->click("Command1");
        CHECK(w->text("Text2") == "6.562");
    }
}

TEST_CASE("what a box keeps of a paste is what the press reads") {
    // A single-line box may keep a pasted line break, stop at it, drop it or
    // make a space of it, and the clipboard may end a text at a NUL; whatever
    // the box shows, the press does with it what the core does with that text.
    struct Cut {
        const char* name;
        std::string pasted;
        std::vector<std::string> kept;  // what a box may make of it
    };
    const Cut cases[] = {
        {"two lines", "12\n34", {"12\n34", "12", "1234", "12 34"}},
        {"NUL inside",
         std::string("1\0"
                     "2",
                     3),
         {std::string("1\0"
                      "2",
                      3),
          "1", "12"}},
    };
    for (const Cut& c : cases) {
        CAPTURE(std::string_view(c.name));
        auto w = openWindow();
        w->selectPage(1);
        w->paste("Text1", c.pasted);
        const std::string typed = w->text("Text1");
        CAPTURE(typed);
        CHECK(std::find(c.kept.begin(), c.kept.end(), typed) != c.kept.end());
        w->click("Command1");

        qimbar::testing::MemoryBoxes core(1, 10, "");
        core.setText(1, typed);
        const auto message = qimbar::app::pressRow(1, 1, core);
        if (message) {
            CHECK(w->takeErrors() ==
                  std::vector{qimbar::testing::ShownError{"Qimbar birliklari", message->message}});
        } else {
            CHECK(w->takeErrors().empty());
        }
        CHECK(w->text("Text2") == core.text(2));
    }
}
