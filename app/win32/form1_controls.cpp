// Form1's controls: made lazily, each in its place in the z-order, and
// shown with their page.
#include "app/row_view.h"
#include "app/win32/control_id.h"
#include "app/win32/form1.h"
#include "app/win32/form1_parts.h"
#include "app/win32/page_paint.h"
#include "app/win32/system_error.h"
#include "app/win32/unicode.h"
#include "convert/pages.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace qimbar::win32 {

using app::ControlDescription;
using app::controls;
using app::form1;
using app::kCreditIndex;
using app::Kind;
using app::Pixels;
using app::tabCaptions;
using form1_parts::isRowLabel;

namespace {

// Top to bottom: every control in the keyboard order, each row's label just
// before its box so a screen reader names the box by it; then the tab
// control, which a control above it would otherwise paint over; then the
// credit line, whose top row the tab control covers. The Tab cycle wraps, so
// the tab control at the bottom keeps its place in it.
std::vector<std::size_t> makeZOrder() {
    std::vector<const ControlDescription*> byTabIndex;
    for (const auto& control : controls) {
        if (control.kind != Kind::TabControl && app::indexOf(control) != kCreditIndex &&
            !isRowLabel(control)) {
            byTabIndex.push_back(&control);
        }
    }
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::size_t> order;
    for (const auto* control : byTabIndex) {
        if (const app::RowView* row = app::rowOf(*control); row != nullptr && row->box == control) {
            order.push_back(app::indexOf(*row->label));
        }
        order.push_back(app::indexOf(*control));
    }
    order.push_back(app::kTabControlIndex);
    order.push_back(kCreditIndex);
    return order;
}

const std::vector<std::size_t>& zOrder() {
    static const std::vector<std::size_t> order = makeZOrder();
    return order;
}

}  // namespace

void form1_parts::throwCreateFailed(std::string_view what) {
    throwLastError("CreateWindowExW, " + std::string(what));
}

void Form1::createPage(int page) {
    // The first time, the tab control and the credit line come too.
    const bool first = controls_.at(app::kTabControlIndex) == nullptr;
    for (const std::size_t index : zOrder()) {
        if (controls.at(index).page == page ||
            (first && (index == app::kTabControlIndex || index == kCreditIndex))) {
            createControl(index);
        }
    }
}

void Form1::createControl(std::size_t index) {
    if (controls_.at(index) != nullptr) {
        return;
    }
    const ControlDescription& control = controls.at(index);
    const std::wstring caption = widen(control.caption);
    const bool onPage = control.page != 0;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* windowClass = WC_STATICW;
    switch (control.kind) {
        case Kind::TabControl:
            windowClass = WC_TABCONTROLW;
            style |= WS_TABSTOP | TCS_FIXEDWIDTH | TCS_FOCUSONBUTTONDOWN;
            break;
        case Kind::Label:
            // SS_NOTIFY: the label sees the pointer, so its tooltip shows.
            style |= SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | (onPage ? SS_NOTIFY : 0);
            break;
        case Kind::TextBox:
            windowClass = WC_EDITW;
            exStyle = WS_EX_CLIENTEDGE;
            style |= ES_LEFT | ES_AUTOHSCROLL | (onPage ? WS_TABSTOP : 0);
            break;
        case Kind::Button:
            windowClass = WC_BUTTONW;
            style |= BS_PUSHBUTTON | (onPage ? WS_TABSTOP : 0);
            break;
    }
    const bool tabsMade = controls_.at(app::kTabControlIndex) != nullptr;
    if (app::shownWithPage(control, tabsMade ? currentPage() : form1.startPage)) {
        style |= WS_VISIBLE;
    }
    const Pixels place = placeOf(control);
    HWND child = CreateWindowExW(exStyle, windowClass, caption.c_str(), style, place.left,
                                 place.top, place.width, place.height, window(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(index))),
                                 instance_, nullptr);
    if (child == nullptr) {
        form1_parts::throwCreateFailed(control.name);
    }
    // A new child goes to the bottom of the z-order. Made after a control
    // that stands below it, it goes just below the one before it, so the
    // keyboard order and the labels' naming hold in whatever order the
    // controls are made.
    const auto& order = zOrder();
    const auto made = [this](std::size_t i) { return controls_.at(i) != nullptr; };
    const auto rank = std::find(order.begin(), order.end(), index);
    if (rank != order.end() && std::any_of(std::next(rank), order.end(), made)) {
        const auto before = std::find_if(std::make_reverse_iterator(rank), order.rend(), made);
        SetWindowPos(child, before == order.rend() ? HWND_TOP : controls_.at(*before), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    controls_.at(index) = child;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);

    switch (control.kind) {
        case Kind::TabControl: {
            // The pages are button face, the colour the labels are painted
            // in, whatever the theme paints its pane in.
            paintPagesInButtonFace(child);
            for (std::size_t i = 0; i < tabCaptions.size(); ++i) {
                std::wstring tab = widen(tabCaptions.at(i));
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = tab.data();
                SendMessageW(child, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
            sizeTabs();
            SendMessageW(child, TCM_SETCURSEL, static_cast<WPARAM>(form1.startPage - 1), 0);
            break;
        }
        case Kind::TextBox:
            SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // 0: as long as the system allows
            if (onPage) {
                boxes_.add(convert::page(control.page).row(control.row).box, child);
            }
            break;
        default:
            break;
    }
}

void Form1::finishStartUp() {
    // Done however it ends: a part that failed is not tried again.
    struct Done {
        bool& flag;
        ~Done() { flag = true; }
    } done{startedUp_};
    loadIcon(Icon::Big);
    for (const std::size_t index : zOrder()) {
        createControl(index);
    }
    createTooltips();
    annotate();
}

Pixels Form1::placeOf(const ControlDescription& control) const {
    Pixels place = app::toPixels(control.geometry, dpi_);
    if (control.page != 0 || control.kind == Kind::TextBox || control.kind == Kind::Button) {
        // Measured from the tab control's corner.
        const Pixels tab = app::toPixels(controls.at(app::kTabControlIndex).geometry, dpi_);
        place.left += tab.left;
        place.top += tab.top;
    }
    return place;
}

void Form1::unpressOtherTabs(int page) {
    // Wine's strip marks a tab pressed when clicked but not when an arrow
    // key selects another, and while a tab not selected keeps that mark it
    // ignores every click. So the other tabs lose it; Windows draws the
    // state only with TCS_BUTTONS.
    for (int i = 0; i < static_cast<int>(tabCaptions.size()); ++i) {
        if (i == page - 1) {
            continue;
        }
        TCITEMW item{};
        item.mask = TCIF_STATE;
        item.dwStateMask = TCIS_BUTTONPRESSED;
        SendMessageW(tabControl(), TCM_SETITEMW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
}

void Form1::showPage(int page) {
    // The focus leaves the page going for the tab strip before that page is
    // hidden: a hidden control's focus would go to the frame.
    HWND focus = GetFocus();
    if (const auto index = controlIndex(GetDlgCtrlID(focus));
        index && IsChild(window(), focus) != FALSE && controls.at(*index).page != 0 &&
        !app::shownWithPage(controls.at(*index), page)) {
        SetFocus(tabControl());
    }
    // Only the pages' own controls change, all at once and undrawn; then
    // the tab control's area is drawn once, so nothing shows half switched.
    HDWP batch = BeginDeferWindowPos(static_cast<int>(controls.size()));
    for (const ControlDescription& control : controls) {
        HWND child = controls_.at(app::indexOf(control));
        if (child == nullptr || control.page == 0 || batch == nullptr) {
            continue;
        }
        const bool show = app::shownWithPage(control, page);
        // The style, not IsWindowVisible: the window may not be shown yet.
        if (show != ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0)) {
            batch = DeferWindowPos(batch, child, nullptr, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                       SWP_NOREDRAW | SWP_DEFERERASE |
                                       (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        }
    }
    if (batch == nullptr || EndDeferWindowPos(batch) == FALSE) {
        for (const ControlDescription& control : controls) {  // one by one, then
            if (HWND child = controls_.at(app::indexOf(control)); child && control.page != 0) {
                ShowWindow(child, app::shownWithPage(control, page) ? SW_SHOWNA : SW_HIDE);
            }
        }
    }
    unpressOtherTabs(page);
    RECT area{};
    GetWindowRect(tabControl(), &area);
    MapWindowPoints(HWND_DESKTOP, window(), reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(window(), &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace qimbar::win32
