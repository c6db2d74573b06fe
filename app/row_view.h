#pragma once

#include "app/window_description.h"
#include "convert/model.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qimbar::app {

// One unit row as every shell shows it: its three controls, what a screen
// reader is told of it, and the order a reader meets them in.
struct RowView {
    const convert::Page* page = nullptr;
    const convert::UnitRow* unit = nullptr;
    const ControlDescription* label = nullptr;
    const ControlDescription* box = nullptr;
    const ControlDescription* button = nullptr;
    std::string explanation;  // "1 Arshin = 0.7 Metr"
    std::string buttonName;   // "Hisoblash: Arshin"

    [[nodiscard]] std::string_view caption() const { return unit->caption; }
    [[nodiscard]] int pageNumber() const { return unit->page; }
    [[nodiscard]] int row() const { return unit->row; }
    [[nodiscard]] int boxNumber() const { return unit->box; }
    // The label before its box, so the box is named by it; then the button.
    [[nodiscard]] std::array<const ControlDescription*, 3> readingOrder() const {
        return {label, box, button};
    }
};

// Every row of every page: page 1's first, each page's from row 1 down.
[[nodiscard]] std::span<const RowView> rowViews();
// The rows of page `page` (1 to 6), row 1 first.
[[nodiscard]] std::span<const RowView> rowsOf(int page);
[[nodiscard]] const RowView& rowView(int page, int row);
// The row whose label, box or button `control` is; null for any other control.
[[nodiscard]] const RowView* rowOf(const ControlDescription& control);
// A page's controls as a reader meets them: each row's label, box and
// button, row 1 to the last.
[[nodiscard]] std::vector<const ControlDescription*> readingOrder(int page);

}  // namespace qimbar::app
