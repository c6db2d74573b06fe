// The keyboard: the Tab order of each page, the keys that change pages, and
// which keys press a button.
#include "tests/app/expected_layout.h"
#include "tests/app/window_driver.h"

#include <algorithm>
#include <doctest/doctest.h>
#include <string>
#include <utility>
#include <vector>

using qimbar::testing::Key;
using qimbar::testing::openWindow;

namespace {

// The page's controls in the window's fixed keyboard order: labels never
// take the focus, the other pages' controls and the spare ones are hidden.
std::vector<std::string> walkOf(int page) {
    const auto all = qimbar::testing::expectedControls();
    std::vector<std::string> walk{"SSTab1"};
    for (const std::string& name : qimbar::testing::keyboardOrder()) {
        const auto it =
            std::find_if(all.begin(), all.end(), [&name](const auto& c) { return c.name == name; });
        if (it != all.end() && it->page == page && it->kind != qimbar::app::Kind::Label) {
            walk.push_back(name);
        }
    }
    return walk;
}

// The same controls as a reader meets them: down the rows, each box before
// its button.
std::vector<std::string> readingWalkOf(int page) {
    auto all = qimbar::testing::expectedControls();
    std::erase_if(all, [page](const auto& c) {
        return c.page != page || c.kind == qimbar::app::Kind::Label;
    });
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        return std::pair(a.geometry.top, a.geometry.left) <
               std::pair(b.geometry.top, b.geometry.left);
    });
    std::vector<std::string> walk{"SSTab1"};
    for (const auto& control : all) {
        walk.push_back(control.name);
    }
    return walk;
}

}  // namespace

TEST_CASE("Tab and Shift+Tab walk the page shown in its keyboard order") {
    auto w = openWindow();
    for (int page = 1; page <= 6; ++page) {
        CAPTURE(page);
        std::vector<std::string> walk{"SSTab1"};
        for (std::string& name : w->keyboardOrder(page)) {
            walk.push_back(std::move(name));
        }
        // The window's fixed order, or down the rows where the shell reads so.
        const bool fixed = walk == walkOf(page);
        CHECK((fixed || walk == readingWalkOf(page)));
        w->selectPage(page);
        w->focus("SSTab1");
        REQUIRE(w->focused() == "SSTab1");

        const auto leaves = w->tabLeavesWindow();
        std::vector<std::string> forward;
        for (std::size_t i = 0; i < walk.size(); ++i) {
            forward.push_back(w->focused());
            w->key(Key::Tab);
        }
        CHECK(forward == walk);
        // Out to what stands around the window (a page's own controls, its
        // browser's), on a shell whose cycle goes there.
        const auto passOutside = [&w, &leaves](Key key) {
            for (int around = 0; leaves && around < 4 && w->focused() == "(none)"; ++around) {
                w->key(key);
            }
        };
        passOutside(Key::Tab);
        CHECK(w->focused() == "SSTab1");  // round to the strip again

        std::vector<std::string> backward;
        for (std::size_t i = 0; i < walk.size(); ++i) {
            w->key(Key::ShiftTab);
            if (i == 0) {
                passOutside(Key::ShiftTab);
            }
            backward.insert(backward.begin(), w->focused());
        }
        CHECK(backward == walk);
        if (page == 3 && fixed) {
            CHECK(std::vector(walk.begin() + 1, walk.begin() + 4) ==
                  std::vector<std::string>{"Command35", "Command34", "Command33"});
            CHECK(walk.back() == "Text29");
        }
    }
}

TEST_CASE("keys that select another page") {
    struct Case {
        const char* name;
        const char* focus;  // where the key is typed
        Key key;
        int from;
        int to;
    };
    const Case cases[] = {
        {"Right on the strip", "SSTab1", Key::Right, 3, 4},
        {"Left on the strip", "SSTab1", Key::Left, 3, 2},
        {"Ctrl+Tab in a box", "Text29", Key::CtrlTab, 3, 4},
        {"Ctrl+Tab on a button", "Command30", Key::CtrlTab, 3, 4},
        {"Ctrl+Tab wraps", "Text43", Key::CtrlTab, 6, 1},
        {"Ctrl+Shift+Tab in a box", "Text29", Key::CtrlShiftTab, 3, 2},
        {"Ctrl+Shift+Tab wraps", "Text1", Key::CtrlShiftTab, 1, 6},
    };
    int sent = 0;
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        auto w = openWindow();
        if (const auto reason = w->cannotSend(c.key)) {
            MESSAGE(std::string_view(c.name), ": not on this shell: ", *reason);
            continue;
        }
        ++sent;
        w->selectPage(c.from);
        w->focus(c.focus);
        REQUIRE(w->focused() == c.focus);
        w->key(c.key);
        CHECK(w->currentPage() == c.to);
        // The focus stays on a control that can be seen, never the frame.
        const std::string focus = w->focused();
        REQUIRE(qimbar::app::findControl(focus) != nullptr);
        CHECK(w->visible(focus));
        // and a click on a tab still selects its page afterwards
        w->selectPage(c.from);
        CHECK(w->currentPage() == c.from);
    }
    CHECK(sent >= 2);  // the strip's own keys, at least, on every shell
}

TEST_CASE("Enter and Esc in a box press nothing") {
    for (const Key key : {Key::Enter, Key::KeypadEnter, Key::Escape}) {
        CAPTURE(static_cast<int>(key));
        auto w = openWindow();
        w->type("Text29", "1");
        w->key(key);
        CHECK(w->text("Text29") == "1");
        for (int n = 30; n <= 35; ++n) {
            CHECK(w->text("Text" + std::to_string(n)).empty());
        }
        CHECK(w->takeErrors().empty());
    }
}

TEST_CASE("Space and Enter on a focused button press it") {
    for (const Key key : {Key::Space, Key::Enter, Key::KeypadEnter}) {
        CAPTURE(static_cast<int>(key));
        auto w = openWindow();
        w->setText("Text29", "1");
        w->focus("Command29");
        w->key(key);
        CHECK(w->text("Text30") == "1000");
        CHECK(w->text("Text35") == "6.289");
    }
}
