#include "app/row_view.h"

#include "app/texts.h"
#include "app/unit_explanation.h"
#include "convert/pages.h"

#include <stdexcept>

namespace qimbar::app {

namespace {

std::vector<RowView> makeRowViews() {
    std::vector<RowView> views;
    views.reserve(static_cast<std::size_t>(convert::kRowCount));
    for (const convert::Page& page : convert::pages) {
        for (const convert::UnitRow& unit : page.rows) {
            views.push_back({&page, &unit, &rowControl(page.number, unit.row, Kind::Label),
                             &rowControl(page.number, unit.row, Kind::TextBox),
                             &rowControl(page.number, unit.row, Kind::Button),
                             unitExplanation(page, unit.row),
                             std::string(texts::kPressName) + std::string(unit.caption)});
        }
    }
    return views;
}

}  // namespace

std::span<const RowView> rowViews() {
    static const std::vector<RowView> views = makeRowViews();
    return views;
}

std::span<const RowView> rowsOf(int page) {
    const convert::Page& rows = convert::page(page);
    std::size_t first = 0;
    for (int before = 1; before < page; ++before) {
        first += static_cast<std::size_t>(convert::page(before).rowCount());
    }
    return rowViews().subspan(first, static_cast<std::size_t>(rows.rowCount()));
}

const RowView& rowView(int page, int row) {
    const auto rows = rowsOf(page);
    if (row < 1 || static_cast<std::size_t>(row) > rows.size()) {
        throw std::out_of_range("no such row");
    }
    return rows[static_cast<std::size_t>(row - 1)];
}

const RowView* rowOf(const ControlDescription& control) {
    if (control.page == 0) {
        return nullptr;
    }
    return &rowView(control.page, control.row);
}

std::vector<const ControlDescription*> readingOrder(int page) {
    std::vector<const ControlDescription*> order;
    for (const RowView& row : rowsOf(page)) {
        for (const ControlDescription* control : row.readingOrder()) {
            order.push_back(control);
        }
    }
    return order;
}

}  // namespace qimbar::app
