// Form1's look: its DPI, fonts, icons and colours, and what changes them.
#include "app/colour.h"
#include "app/win32/fonts.h"
#include "app/win32/form1.h"
#include "app/win32/form1_parts.h"
#include "app/win32/newer_api.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

namespace qimbar::win32 {

using app::ControlDescription;
using app::controls;
using app::form1;
using app::Pixels;
using app::tabCaptions;
using app::twipsToPixels;
using form1_parts::kFormExStyle;
using form1_parts::kFormStyle;

namespace {

constexpr int kProgramIcon = 1;  // the icon group of qimbar.rc

COLORREF colorRef(app::Rgb colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

app::Rgb rgb(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

bool systemHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, contrast.cbSize, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool sameFont(HFONT a, HFONT b) {
    LOGFONTW first{};
    LOGFONTW second{};
    return GetObjectW(a, sizeof(first), &first) == sizeof(first) &&
           GetObjectW(b, sizeof(second), &second) == sizeof(second) &&
           std::memcmp(&first, &second, sizeof(first)) == 0;
}

}  // namespace

HighContrastQuery& highContrastQuery() {
    static HighContrastQuery query = systemHighContrast;
    return query;
}

HFONT Form1::fontOf(const ControlDescription& control) const {
    return form1_parts::isRowLabel(control) ? fonts_.label.get() : fonts_.window.get();
}

Form1::Fonts Form1::fontsAt(int dpi) {
    return {chooseFont(app::kLabelFont, dpi).font, chooseFont(app::kWindowFont, dpi).font};
}

void Form1::applyFonts(Fonts fonts) {
    // The new fonts are in every control before the old ones go.
    Fonts old = std::exchange(fonts_, std::move(fonts));
    for (const ControlDescription& control : controls) {
        if (HWND child = controls_.at(app::indexOf(control))) {
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
        }
    }
}

void Form1::sizeTabs() {
    // Six equal tabs in one row: the widest that fit the strip. A row that
    // does not fit grows the scroll arrows (an up-down control), and what
    // fits depends on the tab control's own margins.
    HWND tabs = tabControl();
    const int pages = static_cast<int>(tabCaptions.size());
    const int height = twipsToPixels(form1.tabStripHeight, dpi_);
    RECT strip{};
    GetClientRect(tabs, &strip);
    for (int width = strip.right / pages; width > 0; --width) {
        SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
        HWND arrows = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
        // The style, not IsWindowVisible: the window may not be shown yet.
        if (arrows == nullptr || (GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE) == 0) {
            break;
        }
    }
}

void Form1::sizeFrame() {
    const SIZE frame =
        frameSize(twipsToPixels(form1.clientWidth, dpi_), twipsToPixels(form1.clientHeight, dpi_),
                  kFormStyle, kFormExStyle, dpi_);
    SetWindowPos(window(), nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    fitClientArea();
}

void Form1::fitClientArea() {
    // The frame the system drew may differ from the one computed or
    // suggested (a caption at another DPI): make up the difference, so the
    // client area is right.
    const int width = twipsToPixels(form1.clientWidth, dpi_);
    const int height = twipsToPixels(form1.clientHeight, dpi_);
    RECT client{};
    GetClientRect(window(), &client);
    if (client.right != width || client.bottom != height) {
        RECT frame{};
        GetWindowRect(window(), &frame);
        SetWindowPos(window(), nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form1::loadIcon(Icon which) {
    // The size the frame (small) or the task switcher (big) shows at this
    // DPI; the old icon goes once the window holds the new one.
    const bool big = which == Icon::Big;
    UniqueIcon icon(
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                      systemMetric(big ? SM_CXICON : SM_CXSMICON, dpi_),
                                      systemMetric(big ? SM_CYICON : SM_CYSMICON, dpi_), 0)));
    if (!icon) {
        return;  // test programs carry no icon
    }
    SendMessageW(window(), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon.get()));
    std::swap(big ? bigIcon_ : smallIcon_, icon);
}

void Form1::applyDpi(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    applyFonts(fontsAt(dpi_));
    for (const ControlDescription& control : controls) {
        if (HWND child = controls_.at(app::indexOf(control))) {
            const Pixels place = placeOf(control);
            SetWindowPos(child, nullptr, place.left, place.top, place.width, place.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    sizeTabs();
    loadIcon(Icon::Small);
    loadIcon(Icon::Big);
    SetWindowPos(window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (newerApi().getDpiForWindow == nullptr) {
        // Per-monitor v1 before 10 1607 suggests a frame scaled to the new
        // DPI but draws it at the system's.
        fitClientArea();
    }
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form1::refreshLook(LookChange change) {
    // Only what really changed costs a new font in every control or a
    // repaint: most broadcasts are about something else.
    const bool wasHighContrast = highContrast_;
    highContrast_ = highContrastQuery()();
    const bool contrast = highContrast_ != wasHighContrast;
    bool fonts = false;
    if (change == LookChange::Fonts) {
        Fonts now = fontsAt(dpi_);
        fonts = !sameFont(now.label.get(), fonts_.label.get()) ||
                !sameFont(now.window.get(), fonts_.window.get());
        if (fonts) {
            applyFonts(std::move(now));
            sizeTabs();
        }
    }
    if (contrast || fonts || change == LookChange::Colours) {
        RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

COLORREF Form1::creditColour() const {
    // Under high contrast the system's own colours; elsewhere dark blue,
    // unless the button face is too dark for it to be read.
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    if (highContrast_) {
        return text;
    }
    return colorRef(app::creditColourOn(rgb(GetSysColor(COLOR_BTNFACE)), rgb(text)));
}

}  // namespace qimbar::win32
