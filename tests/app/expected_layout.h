#pragma once

// The window's layout rules and keyboard order written out independently of
// the program's window description, so the tests check it rather than restate it.

#include "app/window_description.h"
#include "convert/pages.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace qimbar::testing {

inline int px(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

inline app::Pixels pxRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

struct ExpectedControl {
    std::string name;
    app::Kind kind;
    app::Pixels geometry;
    std::string caption;
    int page;  // 0: the tab control, the credit line and the spare controls
};

inline std::string named(const char* prefix, int number) {
    return prefix + std::to_string(number);
}

inline std::vector<ExpectedControl> expectedControls() {
    using app::Kind;
    const std::array labelLeft{1200, 1320, 1440, 1440, 1440, 1440};
    const std::array<std::vector<int>, 6> labelWidth{{
        {615, 975, 1095, 1215, 1215, 1215, 1095, 1335, 1575, 1095},
        {1335, 1095, 1095, 1095, 1215, 1095, 855, 975},
        {1095, 1215, 1215, 1335, 1215, 1215, 1335},
        {1215, 1335, 1215},
        {1215, 1215, 1215, 1215},
        {1215, 1335, 1215, 1215},
    }};
    const std::array firstBox{1, 21, 29, 36, 39, 43};
    const std::array firstLabel{2, 12, 20, 27, 30, 34};

    std::vector<ExpectedControl> out;
    out.push_back({"SSTab1", Kind::TabControl, pxRect(240, 240, 6810, 5895), {}, 0});
    out.push_back(
        {"Label1", Kind::Label, pxRect(1080, 6120, 2775, 255), "Tuzuvchi: Qimbar jamoasi", 0});
    for (std::size_t p = 0; p < 6; ++p) {
        const auto& page = convert::pages.at(p);
        const int pageNumber = static_cast<int>(p) + 1;
        for (int r = 0; r < static_cast<int>(labelWidth.at(p).size()); ++r) {
            const int top = 720 + 480 * r;
            const int n = firstBox.at(p) + r;
            const int boxHeight = (pageNumber == 1 && r >= 6) ? 315 : 285;
            out.push_back({named("Label", firstLabel.at(p) + r), Kind::Label,
                           pxRect(labelLeft.at(p), top, labelWidth.at(p).at(std::size_t(r)), 255),
                           std::string(page.row(r + 1).caption), pageNumber});
            out.push_back({named("Text", n),
                           Kind::TextBox,
                           pxRect(2880, top, 1935, boxHeight),
                           {},
                           pageNumber});
            out.push_back({named("Command", n), Kind::Button, pxRect(4920, top, 1335, 255),
                           "Hisoblash", pageNumber});
        }
    }
    for (int k = 11; k <= 20; ++k) {
        const int top = 720 + 480 * (20 - k);
        out.push_back(
            {named("Text", k), Kind::TextBox, pxRect(2280 - 75000, top, 1935, 405), {}, 0});
        out.push_back(
            {named("Command", k), Kind::Button, pxRect(4320 - 75000, top, 1335, 375), {}, 0});
    }
    return out;
}

// Every control by its number 0 to 129 in the keyboard order.
inline std::vector<std::string> keyboardOrder() {
    std::vector<std::string> order{"SSTab1"};
    const auto add = [&order](const char* prefix, int from, int to) {
        const int step = from <= to ? 1 : -1;
        for (int n = from; n != to + step; n += step) {
            order.push_back(named(prefix, n));
        }
    };
    add("Command", 43, 43);
    add("Command", 42, 39);
    add("Text", 42, 39);
    add("Command", 38, 37);
    add("Text", 38, 36);
    add("Command", 36, 36);
    add("Command", 35, 30);
    add("Text", 35, 30);
    add("Command", 29, 29);
    add("Text", 29, 29);
    add("Command", 28, 24);
    add("Text", 28, 21);
    add("Command", 23, 21);
    add("Command", 10, 1);
    add("Text", 10, 1);
    add("Command", 11, 20);
    add("Text", 11, 20);
    add("Command", 44, 46);
    add("Text", 43, 46);
    add("Label", 1, 37);
    return order;
}

// Box numbers of every row box, page by page.
inline constexpr std::array<std::pair<int, int>, 6> kPageBoxes{
    {{1, 10}, {21, 28}, {29, 35}, {36, 38}, {39, 42}, {43, 46}}};

// The N of every `TextN` the window has, spare boxes too.
inline std::vector<int> everyBox() {
    std::vector<int> numbers;
    for (const auto& control : app::controls) {
        if (control.kind == app::Kind::TextBox) {
            numbers.push_back(std::stoi(std::string(control.name.substr(4))));
        }
    }
    return numbers;
}

inline int pageOfBox(int n) {
    for (std::size_t p = 0; p < kPageBoxes.size(); ++p) {
        if (n >= kPageBoxes[p].first && n <= kPageBoxes[p].second) {
            return static_cast<int>(p) + 1;
        }
    }
    return 0;  // spare
}

}  // namespace qimbar::testing
