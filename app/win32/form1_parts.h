#pragma once

// What the files of Form1 share and nothing else uses.

#include "app/row_view.h"
#include "app/window_description.h"

#include <windows.h>

#include <string_view>

namespace qimbar::win32::form1_parts {

inline constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                    WS_CLIPCHILDREN;  // fixed size: no maximize, no sizing frame
inline constexpr DWORD kFormExStyle = 0;

// Posted to the window: a box's explanation shows again once a label's hover
// tip, which took the one tip window, has gone.
inline constexpr UINT kRestoreFocusTip = WM_APP;

[[noreturn]] void throwCreateFailed(std::string_view what);

// A unit row's label: drawn in the label font, with a tooltip.
inline bool isRowLabel(const app::ControlDescription& control) {
    const app::RowView* row = app::rowOf(control);
    return row != nullptr && row->label == &control;
}

}  // namespace qimbar::win32::form1_parts
