// A box's explanation shown by the box while it has the keyboard focus, so
// that a keyboard user sees what the pointer's hover over the label shows.
// One tracking tool per box in the hover tips' control: shown and placed only
// here, never by the pointer.
#include "app/win32/form1.h"
#include "app/win32/form1_parts.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace qimbar::win32 {

namespace {

TOOLINFOW toolOf(HWND window, HWND box) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    return tool;
}

// Just below the box's row, from the box's right edge on: it hides neither
// the box being typed in nor the next row's box, only the top of the next
// row's button. A pixel off each edge, since Wine draws its border a pixel
// outside the point. Kept on the screen's work area: pushed left at its
// right edge, above the row at its bottom.
POINT focusTipPlace(const RECT& box, SIZE tip, const RECT& work) {
    POINT at{box.right + 1, box.bottom + 1};
    if (at.x + tip.cx > work.right) {
        at.x = std::max(work.left, work.right - tip.cx);
    }
    if (at.y + tip.cy > work.bottom) {
        at.y = box.top - tip.cy;
    }
    return at;
}

}  // namespace

void Form1::addFocusTip(HWND box, std::wstring& explanation) {
    TOOLINFOW tool = toolOf(window(), box);
    // Absolute: the tip stands where placeFocusTip says, not where the
    // control would choose.
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.lpszText = explanation.data();  // copied by the control
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form1::showFocusTip(HWND box) {
    hideFocusTip();
    if (tooltips_ == nullptr) {
        return;  // focused before the rest was made: from the next focus on
    }
    focusTip_ = box;
    placeFocusTip();  // first, so it shows in its place at once
    TOOLINFOW tool = toolOf(window(), box);
    SendMessageW(tooltips_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void Form1::hideFocusTip() {
    if (focusTip_ == nullptr) {
        return;
    }
    TOOLINFOW tool = toolOf(window(), std::exchange(focusTip_, nullptr));
    SendMessageW(tooltips_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void Form1::placeFocusTip() {
    if (focusTip_ == nullptr) {
        return;
    }
    RECT box{};
    GetWindowRect(focusTip_, &box);
    TOOLINFOW tool = toolOf(window(), focusTip_);
    const auto size = static_cast<DWORD>(
        SendMessageW(tooltips_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(focusTip_, MONITOR_DEFAULTTONEAREST), &monitor) ==
        FALSE) {
        const LONG edge = LONG_MAX / 2;  // none to keep to
        monitor.rcWork = {-edge, -edge, edge, edge};
    }
    const POINT at = focusTipPlace(box, {LOWORD(size), HIWORD(size)}, monitor.rcWork);
    // Screen coordinates, each a signed 16 bits: a monitor left of or above
    // the main one has negative ones.
    SendMessageW(tooltips_, TTM_TRACKPOSITION, 0,
                 MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(at.x)),
                            static_cast<WORD>(static_cast<SHORT>(at.y))));
}

void Form1::focusTipPopped(UINT_PTR tool) {
    // Another tool's tip has gone; posted, since the control hides its
    // window only after it has told of it.
    if (focusTip_ != nullptr && tool != reinterpret_cast<UINT_PTR>(focusTip_)) {
        PostMessageW(window(), form1_parts::kRestoreFocusTip, 0, 0);
    }
}

void Form1::restoreFocusTip() {
    if (focusTip_ != nullptr && GetFocus() == focusTip_) {
        showFocusTip(focusTip_);
    }
}

}  // namespace qimbar::win32
