#include "convert/pages.h"

#include <stdexcept>

namespace qimbar::convert {

const Page& page(int number) {
    if (number < 1 || number > static_cast<int>(pages.size())) {
        throw std::out_of_range("no such page");
    }
    return pages[static_cast<std::size_t>(number - 1)];
}

RowRef rowOfBox(int boxNumber) {
    for (const Page& page : pages) {
        for (const UnitRow& row : page.rows) {
            if (row.box == boxNumber) {
                return {&page, row.row};
            }
        }
    }
    return {};
}

}  // namespace qimbar::convert
