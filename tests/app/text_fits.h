#pragma once

#include "tests/app/window_driver.h"

#include <doctest/doctest.h>
#include <string>

namespace qimbar::testing {

// Every caption, unit name, box line and tab caption of the window fits its
// control as the window stands: shells call it again under other fonts and
// DPIs of their own.
inline void checkTextFits(WindowDriver& w) {
    for (const auto& control : app::controls) {
        if (control.kind == app::Kind::TabControl ||
            (control.page == 0 && control.name != "Label1")) {
            continue;
        }
        CAPTURE(control.name);
        w.selectPage(control.page == 0 ? app::form1.startPage : control.page);
        const TextRoom room = w.textRoom(control.name);
        CHECK(room.lineHeight > 0);
        CHECK(room.lineHeight <= room.height);
        if (control.kind != app::Kind::TextBox) {
            CHECK(room.textWidth > 0);
            CHECK(room.textWidth <= room.width);
        }
    }
    for (int page = 1; page <= static_cast<int>(app::tabCaptions.size()); ++page) {
        CAPTURE(page);
        const TextRoom room = w.tabTextRoom(page);
        CHECK(room.textWidth > 0);
        CHECK(room.textWidth <= room.width);
        CHECK(room.lineHeight <= room.height);
    }
}

}  // namespace qimbar::testing
