// Presses through the window: what each writes, what a failure shows, and
// that the program goes on.
#include "app/texts.h"
#include "tests/app/expected_layout.h"
#include "tests/app/window_driver.h"

#include <doctest/doctest.h>
#include <string>
#include <vector>

using qimbar::testing::everyBox;
using qimbar::testing::kPageBoxes;
using qimbar::testing::openWindow;
using qimbar::testing::pageOfBox;
using qimbar::testing::ShownError;
using Texts = std::vector<std::string>;

namespace {

std::string box(int n) {
    return "Text" + std::to_string(n);
}

std::string button(int n) {
    return "Command" + std::to_string(n);
}

// What each box holds before a press: "x" and its number.
std::string marked(int n) {
    std::string text = std::to_string(n);
    text.insert(text.begin(), 'x');
    return text;
}

}  // namespace

TEST_CASE("a press writes its page's other boxes and no others") {
    struct Case {
        const char* name;
        int button;
        const char* typed;
        Texts page;  // the page's boxes afterwards
    };
    const Case cases[] = {
        {"Metr",
         1,
         "1",
         {"1", "3.281", "1.094", "40", "1.429", "0.4762", "0.0005405", "0.000625", "0.0001339",
          "0.0009372"}},
        {"Funt", 26, "2", {"0.82", "820", "4100", "28.92", "463.2", "2", "0.05124", "1.6734"}},
        {"Kvarta", 32, "3", {"0.003408", "3.408", "0.75", "3", "6", "0.09372", "0.021435"}},
        {"metr/sek", 37, "10", {"36", "10", "19.44"}},
        {"Ar (sotix)", 41, "1", {"100", "0.01", "1", "0.02471"}},
        {"Farengeyt", 45, "212", {"99.88", "371.8", "212", "80.12"}},
        {"decimal comma", 43, "36,6", {"36,6", "309.6", "97.88", "29.28"}},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        auto w = openWindow();
        for (const int n : everyBox()) {
            w->setText(box(n), marked(n));
        }
        const int pageNumber = pageOfBox(c.button);
        w->selectPage(pageNumber);
        w->setText(box(c.button), "");
        w->type(box(c.button), c.typed);

        w->click(button(c.button));

        CHECK(w->takeErrors().empty());
        const auto [first, last] = kPageBoxes.at(std::size_t(pageNumber - 1));
        Texts texts;
        for (int n = first; n <= last; ++n) {
            texts.push_back(w->text(box(n)));
        }
        CHECK(texts == c.page);
        for (const int n : everyBox()) {
            if (pageOfBox(n) != pageNumber) {
                CAPTURE(n);
                CHECK(w->text(box(n)) == marked(n));
            }
        }
    }
}

TEST_CASE("switching pages keeps every text") {
    auto w = openWindow();
    for (int page = 1; page <= 6; ++page) {
        w->selectPage(page);
        w->type(box(kPageBoxes.at(std::size_t(page - 1)).first), std::to_string(page) + ",5");
    }
    w->selectPage(2);
    w->click(button(21));
    const std::string gramm = w->text(box(22));
    CHECK(gramm == "2500");
    for (const int page : {6, 5, 4, 3, 2, 1, 3}) {
        w->selectPage(page);
    }
    for (int page = 1; page <= 6; ++page) {
        CAPTURE(page);
        CHECK(w->text(box(kPageBoxes.at(std::size_t(page - 1)).first)) ==
              std::to_string(page) + ",5");
    }
    CHECK(w->text(box(22)) == gramm);
}

TEST_CASE("a failed press shows its message and the program goes on") {
    struct Case {
        const char* name;
        int button;
        const char* typed;
        qimbar::platform::ErrorKind kind;  // named with the pressed unit
        int written;                       // targets that got a new text
    };
    using qimbar::platform::ErrorKind;
    const Case cases[] = {
        {"letters", 1, "abc", ErrorKind::NotANumber, 0},
        {"empty box", 30, "", ErrorKind::EmptyBox, 0},
        {"only spaces", 30, "   ", ErrorKind::EmptyBox, 0},
        {"beyond a double, typed", 38, "1e309", ErrorKind::NumberTooLarge, 0},
        {"overflow part-way", 9, "1e304", ErrorKind::Overflow, 1},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        auto w = openWindow();
        const int pageNumber = pageOfBox(c.button);
        const auto [first, last] = kPageBoxes.at(std::size_t(pageNumber - 1));
        for (int n = first; n <= last; ++n) {
            w->setText(box(n), "old");
        }
        w->selectPage(pageNumber);
        w->setText(box(c.button), "");
        w->type(box(c.button), c.typed);

        w->click(button(c.button));

        const auto source = qimbar::convert::rowOfBox(c.button);
        const std::string message =
            qimbar::app::texts::errorMessage(source.page->row(source.row).caption, c.kind);
        CHECK(w->takeErrors() == std::vector{ShownError{"Qimbar birliklari", message}});
        CHECK(w->text(box(c.button)) == c.typed);
        // The message closed, the box at fault has the focus, its text all
        // selected, ready to be corrected.
        CHECK(w->focused() == box(c.button));
        CHECK(w->selectedText(box(c.button)) == c.typed);
        int changed = 0;
        for (int n = first; n <= last; ++n) {
            if (n != c.button && w->text(box(n)) != "old") {
                ++changed;
                CHECK(n - first == changed - 1);  // only the first targets, in order
            }
        }
        CHECK(changed == c.written);
        if (c.button == 9) {
            CHECK(w->text(box(1)) == "7.47E+307");
        }

        // Still running: the next press converts.
        w->setText(box(c.button), "0");
        w->click(button(c.button));
        CHECK(w->takeErrors().empty());
        CHECK(w->text(box(last == c.button ? first : last)) == "0");
    }
}

TEST_CASE("a box that is gone is reported, not a crash") {
    auto w = openWindow();
    w->setText(box(29), "1");
    w->destroy(box(31));  // Gallon, the action's second target
    w->click(button(29));
    CHECK(w->takeErrors() ==
          std::vector{ShownError{"Qimbar birliklari",
                                 qimbar::app::texts::errorMessage(
                                     "Gallon", qimbar::platform::ErrorKind::BoxNotWritten)}});
    CHECK(w->text(box(30)) == "1000");
    CHECK(w->text(box(32)).empty());
}
