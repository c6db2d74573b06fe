#include "app/win32/page_paint.h"

#include <commctrl.h>

namespace qimbar::win32 {

namespace {

void fillPage(HWND tabs, HDC dc) {
    RECT page{};
    GetClientRect(tabs, &page);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    FillRect(dc, &page, GetSysColorBrush(COLOR_BTNFACE));
}

// The tab control's page is the button face, as the labels on it are. Some
// tab controls (Wine's, themed or not) paint it white: the control paints
// into this paint's device context, and the inside of its border is painted
// over there, within the update region.
LRESULT CALLBACK paintPageInButtonFace(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR /*data*/) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT: {
            if (wParam != 0) {  // painting into a device context it was given
                const LRESULT painted = DefSubclassProc(window, message, wParam, lParam);
                fillPage(window, reinterpret_cast<HDC>(wParam));
                return painted;
            }
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window, &paint);
            // Common controls paint into the device context WM_PAINT carries.
            DefSubclassProc(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
            fillPage(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT: {
            const LRESULT printed = DefSubclassProc(window, message, wParam, lParam);
            fillPage(window, reinterpret_cast<HDC>(wParam));
            return printed;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, paintPageInButtonFace, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void paintPagesInButtonFace(HWND tabs) {
    SetWindowSubclass(tabs, paintPageInButtonFace, 1, 0);
}

}  // namespace qimbar::win32
