#pragma once

// What the Win32-only tests share: the window through the suite's driver,
// and the probes only these tests need.
#include "app/win32/form1.h"
#include "app/win32/handles.h"
#include "app/win32/newer_api.h"
#include "app/window_description.h"
#include "tests/app/expected_layout.h"
#include "tests/app/win32/win32_window.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <doctest/doctest.h>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qimbar::testing {

using app::Kind;
using win32::Form1;

inline bool isWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The text of a control as narrow text.
inline std::string textOf(HWND window) {
    return narrow(windowText(window));
}

// Where a caption's text must fit inside a control of that kind, `client`
// pixels in size, at `dpi`: a box's line in its client area, a button's
// caption inside its raised edge, a label's or the credit line's in the whole.
inline SIZE roomIn(Kind kind, SIZE client, int dpi) {
    if (kind == Kind::Button) {
        return {client.cx - 2 * win32::systemMetric(SM_CXEDGE, dpi),
                client.cy - 2 * win32::systemMetric(SM_CYEDGE, dpi)};
    }
    return client;
}

// The window's controls, top to bottom of the z-order, by name.
inline std::vector<std::string> zOrderOf(win32::Form1& form) {
    std::map<HWND, std::string> names;
    for (const auto& control : app::controls) {
        names[form.control(control.name)] = std::string(control.name);
    }
    std::vector<std::string> order;
    for (HWND child = GetWindow(form.window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto it = names.find(child);
        order.push_back(it != names.end() ? it->second : "(another window)");
    }
    return order;
}

// The z-order the window must have, from the keyboard order written out in
// the tests: each row's label just before its box, then the tab control and
// the credit line.
inline std::vector<std::string> expectedZOrder() {
    std::vector<std::string> order;
    for (const std::string& name : keyboardOrder()) {
        if (name == "SSTab1" || name.starts_with("Label")) {
            continue;
        }
        const auto* control = app::findControl(name);
        if (control->kind == Kind::TextBox && control->page != 0) {
            order.emplace_back(app::rowControl(control->page, control->row, Kind::Label).name);
        }
        order.push_back(name);
    }
    order.emplace_back("SSTab1");
    order.emplace_back("Label1");
    return order;
}

// Every control at its place at the window's DPI, and six tabs of one width
// in one row, within the strip, as high as described.
inline void checkLayout(Win32Window& w) {
    const int dpi = w.form().dpi();
    CHECK(w.clientArea() ==
          app::Pixels{0, 0, app::twipsToPixels(7335, dpi), app::twipsToPixels(6360, dpi)});
    for (const auto& control : app::controls) {
        CAPTURE(control.name);
        CHECK(w.geometry(control.name) == app::toPixels(control.geometry, dpi));
    }
    HWND tabs = w.form().tabControl();
    RECT strip{};
    GetClientRect(tabs, &strip);
    std::vector<RECT> rects(app::tabCaptions.size());
    for (std::size_t i = 0; i < rects.size(); ++i) {
        SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rects[i]));
        CHECK(rects[i].right - rects[i].left == rects[0].right - rects[0].left);
        CHECK(rects[i].top == rects[0].top);
    }
    CHECK(rects.back().right <= strip.right);
    CHECK(6 * (rects[0].right - rects[0].left) > strip.right * 9 / 10);  // they share the strip
    HWND arrows = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
    CHECK((arrows == nullptr || (GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE) == 0));
    CHECK(rects[0].bottom - rects[0].top == app::twipsToPixels(520, dpi));
}

// The window's frame for a client area of the described size at `dpi`,
// placed at `left`, `top`.
inline RECT frameAt(int left, int top, int dpi) {
    RECT frame{0, 0, app::twipsToPixels(7335, dpi), app::twipsToPixels(6360, dpi)};
    AdjustWindowRectExForDpi(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             FALSE, 0, static_cast<UINT>(dpi));
    OffsetRect(&frame, left - frame.left, top - frame.top);
    return frame;
}

inline void changeDpi(win32::Form1& form, int dpi, const RECT& suggested) {
    SendMessageW(form.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
}

// The pixels of a control's client area, painted.
inline std::vector<COLORREF> pixelsOf(HWND control) {
    UpdateWindow(GetParent(control));
    UpdateWindow(control);
    HDC dc = GetDC(control);
    RECT client{};
    GetClientRect(control, &client);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            pixels.push_back(GetPixel(dc, x, y));
        }
    }
    ReleaseDC(control, dc);
    return pixels;
}

// A control's client area as drawn on the screen, one COLORREF a pixel, row
// by row; saved as a BMP too when QIMBAR_SCREENSHOTS names a folder.
inline std::vector<COLORREF> screenPixels(HWND control, const std::string& name) {
    RECT client{};
    GetClientRect(control, &client);
    MapWindowPoints(control, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<RGBQUAD> bits(static_cast<std::size_t>(width * height));
    const win32::ScreenDc screen;
    HDC memory = CreateCompatibleDC(screen.get());
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
    {
        const win32::Selected selected(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen.get(), client.left, client.top, SRCCOPY);
    }
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (const char* folder = std::getenv("QIMBAR_SCREENSHOTS")) {
        const auto size = static_cast<DWORD>(bits.size() * sizeof(RGBQUAD));
        const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        const BITMAPFILEHEADER file{0x4D42, offset + size, 0, 0, offset};
        if (FILE* out = std::fopen((std::string(folder) + "/" + name + ".bmp").c_str(), "wb")) {
            std::fwrite(&file, sizeof(file), 1, out);
            std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
            std::fwrite(bits.data(), size, 1, out);
            std::fclose(out);
        }
    }
    std::vector<COLORREF> pixels;
    pixels.reserve(bits.size());
    for (const RGBQUAD& bit : bits) {
        pixels.push_back(RGB(bit.rgbRed, bit.rgbGreen, bit.rgbBlue));
    }
    return pixels;
}

// Watches the messages a control gets, while it lives: each is counted, and
// each WM_SETFONT checks that the font it held until then is still a font
// (a deleted one would be drawn with until then).
class MessageLog {
public:
    explicit MessageLog(HWND window) : window_(window) {
        SetWindowSubclass(window_, record, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this));
    }
    ~MessageLog() { RemoveWindowSubclass(window_, record, reinterpret_cast<UINT_PTR>(this)); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
    MessageLog(MessageLog&&) = delete;
    MessageLog& operator=(MessageLog&&) = delete;

    [[nodiscard]] int count(UINT message, std::optional<WPARAM> wParam = std::nullopt) const {
        return static_cast<int>(std::count_if(seen_.begin(), seen_.end(), [&](const auto& m) {
            return m.first == message && (!wParam || m.second == *wParam);
        }));
    }
    int heldFontWasGone = 0;

private:
    static LRESULT CALLBACK record(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR /*id*/, DWORD_PTR self) {
        auto* log = reinterpret_cast<MessageLog*>(self);
        log->seen_.emplace_back(message, wParam);
        if (message == WM_SETFONT) {
            const auto held = reinterpret_cast<HGDIOBJ>(DefSubclassProc(window, WM_GETFONT, 0, 0));
            log->heldFontWasGone += GetObjectType(held) == OBJ_FONT ? 0 : 1;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    HWND window_;
    std::vector<std::pair<UINT, WPARAM>> seen_;
};

// Enter pressed (or held: `repeat`) on the focused control, through the
// program's loop.
inline void enter(Win32Window& w, bool repeat) {
    MSG message{};
    message.hwnd = GetFocus();
    message.message = WM_KEYDOWN;
    message.wParam = VK_RETURN;
    message.lParam = static_cast<LPARAM>(1U | (0x1CU << 16U) | (repeat ? 1U << 30U : 0U));
    w.deliver(message);
    w.settle();
}

}  // namespace qimbar::testing
