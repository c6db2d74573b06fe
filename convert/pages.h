#pragma once

#include "convert/area.h"
#include "convert/length.h"
#include "convert/mass.h"
#include "convert/model.h"
#include "convert/speed.h"
#include "convert/temperature.h"
#include "convert/volume.h"

#include <array>

namespace qimbar::convert {

// The six pages in tab order: page N is pages[N - 1].
inline constexpr std::array<Page, 6> pages{
    length::page, mass::page, volume::page, speed::page, area::page, temperature::page,
};

static_assert([] {
    std::size_t rules = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].number != static_cast<int>(i + 1) ||
            pages[i].rowCount() != pages[i].table.rowCount()) {
            return false;
        }
        rules += pages[i].table.rules().size();
    }
    return rules == 218;
}());

// How many unit rows the pages have in all, and the largest N of their
// `TextN`: counts that follow the tables.
inline constexpr int kRowCount = [] {
    int rows = 0;
    for (const Page& page : pages) {
        rows += page.rowCount();
    }
    return rows;
}();
inline constexpr int kLastBoxNumber = [] {
    int last = 0;
    for (const Page& page : pages) {
        for (const UnitRow& row : page.rows) {
            last = row.box > last ? row.box : last;
        }
    }
    return last;
}();

// The page with the given number (1 to 6).
[[nodiscard]] const Page& page(int number);

// The page and row whose value box is `TextN`, if any.
struct RowRef {
    const Page* page = nullptr;
    int row = 0;
};
[[nodiscard]] RowRef rowOfBox(int boxNumber);

}  // namespace qimbar::convert
