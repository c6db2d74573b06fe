#include "app/win32/page_paint.h"

#include "app/win32/handles.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <span>

namespace qimbar::win32 {

namespace {

// The control drawn into `target` through a bitmap of its own, so nothing
// half drawn reaches the screen: first as it draws itself, then with its
// pane colour, wherever a theme shows it (the page, the band inside the
// border, the selected tab joined to it), turned into the button face.
void paintThrough(HWND tabs, HDC target, const RECT& area, UINT message, LPARAM flags) {
    RECT client{};
    GetClientRect(tabs, &client);
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && bitmap != nullptr && client.right > 0 && client.bottom > 0) {
        const Selected selected(memory, bitmap);
        FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
        DefSubclassProc(tabs, message, reinterpret_cast<WPARAM>(memory), flags);
        GdiFlush();
        RECT page = client;
        SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
        const std::span pixels(
            static_cast<std::uint32_t*>(bits),
            static_cast<std::size_t>(client.right) * static_cast<std::size_t>(client.bottom));
        const auto at = [&](LONG x, LONG y) -> std::uint32_t& {
            return pixels[static_cast<std::size_t>(std::clamp(y, LONG{0}, client.bottom - 1)) *
                              static_cast<std::size_t>(client.right) +
                          static_cast<std::size_t>(std::clamp(x, LONG{0}, client.right - 1))];
        };
        const COLORREF faceColour = GetSysColor(COLOR_BTNFACE);
        const std::uint32_t face = (std::uint32_t{GetRValue(faceColour)} << 16U) |
                                   (std::uint32_t{GetGValue(faceColour)} << 8U) |
                                   GetBValue(faceColour);
        const std::uint32_t pane =
            at((page.left + page.right) / 2, (page.top + page.bottom) / 2) & 0xFFFFFFU;
        if (pane != face) {
            for (std::uint32_t& pixel : pixels) {
                if ((pixel & 0xFFFFFFU) == pane) {
                    pixel = face;
                }
            }
        }
        BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, memory,
               area.left, area.top, SRCCOPY);
    } else {  // no memory for a bitmap: straight to the screen
        DefSubclassProc(tabs, message, reinterpret_cast<WPARAM>(target), flags);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
}

LRESULT CALLBACK paintPageInButtonFace(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR /*data*/) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers it all
        case WM_PAINT: {
            if (wParam != 0) {  // painting into a device context it was given
                RECT client{};
                GetClientRect(window, &client);
                paintThrough(window, reinterpret_cast<HDC>(wParam), client, WM_PAINT, 0);
                return 0;
            }
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window, &paint);
            // Common controls paint into the device context WM_PAINT carries.
            paintThrough(window, dc, paint.rcPaint, WM_PAINT, 0);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(window, &client);
            paintThrough(window, reinterpret_cast<HDC>(wParam), client, WM_PRINTCLIENT, lParam);
            return 0;
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
    // The classic tab control: its pane and its selected tab are drawn in
    // the button face, one surface with the labels, where a theme draws
    // them in its own pane colour. Looked up: uxtheme is not an import.
    if (HMODULE uxtheme = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        using SetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
        if (const auto setTheme = reinterpret_cast<SetWindowTheme>(
                reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")))) {
            setTheme(tabs, L"", L"");
        }
    }
    SetWindowSubclass(tabs, paintPageInButtonFace, 1, 0);
}

}  // namespace qimbar::win32
