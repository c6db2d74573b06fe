#pragma once

// The behaviour suite's driver for the Win32 shell. Keys and clicks are sent
// as the messages the system would queue, and go through the program's own
// loop (its pre-translation, the dialog manager, TranslateMessage, dispatch),
// so no real input device is needed. Typed text is keys, not WM_CHAR; a
// paste is Ctrl+V. The Win32-only tests drive their window through it too.
#include "app/win32/error_display.h"
#include "app/win32/form1.h"
#include "app/win32/handles.h"
#include "app/win32/newer_api.h"
#include "app/win32/unicode.h"
#include "tests/app/window_driver.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qimbar::testing {

using win32::narrow;
using win32::widen;

// Runs the thread's messages until the window has finished starting up.
template <typename Window>
void waitForStartUp(const Window& form) {
    for (int waited = 0; !form.startedUp() && waited < 5000; waited += 10) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// The font a control draws with.
inline HFONT fontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// A line of text in `font`, as a control draws it.
struct Measured {
    int width = 0;
    int lineHeight = 0;
};

inline Measured measure(HFONT font, const std::wstring& text) {
    const win32::ScreenDc screen;
    const win32::Selected selected(screen.get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    SIZE extent{};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return {extent.cx, metrics.tmHeight};
}

inline std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

inline std::wstring className(HWND window) {
    std::array<wchar_t, 64> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

inline LPARAM pointParam(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

// Holds Ctrl and Shift down, as the thread's key state shows them, while it lives.
class Modifiers {
public:
    Modifiers(bool ctrl, bool shift) {
        GetKeyboardState(saved_.data());
        std::array<BYTE, 256> state = saved_;
        const auto press = [&state](int key, bool down) {
            state.at(static_cast<std::size_t>(key)) = down ? 0x80 : 0;
        };
        press(VK_CONTROL, ctrl);
        press(VK_LCONTROL, ctrl);
        press(VK_SHIFT, shift);
        press(VK_LSHIFT, shift);
        SetKeyboardState(state.data());
    }
    ~Modifiers() { SetKeyboardState(saved_.data()); }
    Modifiers(const Modifiers&) = delete;
    Modifiers& operator=(const Modifiers&) = delete;
    Modifiers(Modifiers&&) = delete;
    Modifiers& operator=(Modifiers&&) = delete;

private:
    std::array<BYTE, 256> saved_{};
};

class Win32Window final : public WindowDriver {
public:
    Win32Window()
        : seam_([this](HWND /*owner*/, const std::wstring& title, const std::wstring& message) {
              errors_.push_back({narrow(title), narrow(message)});
          }),
          form_({.instance = GetModuleHandleW(nullptr),
                 .showCommand = SW_SHOWNORMAL,
                 .endsProgram = false}) {
        SetForegroundWindow(form_.window());
        waitForStartUp(form_);
        settle();
    }

    std::string title() override { return narrow(windowText(form_.window())); }

    app::Pixels clientArea() override {
        RECT client{};
        GetClientRect(form_.window(), &client);
        return {client.left, client.top, client.right - client.left, client.bottom - client.top};
    }

    std::vector<std::string> tabCaptions() override {
        std::vector<std::string> captions;
        const auto count = SendMessageW(form_.tabControl(), TCM_GETITEMCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::array<wchar_t, 64> text{};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            item.cchTextMax = static_cast<int>(text.size());
            SendMessageW(form_.tabControl(), TCM_GETITEMW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
            captions.push_back(narrow(text.data()));
        }
        return captions;
    }

    int currentPage() override { return form_.currentPage(); }

    void selectPage(int page) override {
        RECT tab{};
        SendMessageW(form_.tabControl(), TCM_GETITEMRECT, static_cast<WPARAM>(page - 1),
                     reinterpret_cast<LPARAM>(&tab));
        mouseClick(form_.tabControl(), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    }

    bool exists(std::string_view name) override { return form_.control(name) != nullptr; }

    app::Kind kind(std::string_view name) override {
        const std::wstring type = className(find(name));
        if (lstrcmpiW(type.c_str(), WC_TABCONTROLW) == 0) {
            return app::Kind::TabControl;
        }
        if (lstrcmpiW(type.c_str(), WC_STATICW) == 0) {
            return app::Kind::Label;
        }
        if (lstrcmpiW(type.c_str(), WC_EDITW) == 0) {
            return app::Kind::TextBox;
        }
        if (lstrcmpiW(type.c_str(), WC_BUTTONW) == 0) {
            return app::Kind::Button;
        }
        throw std::runtime_error("a control of no known class: " + narrow(type));
    }

    std::string caption(std::string_view name) override {
        HWND control = find(name);
        return kind(name) == app::Kind::TextBox ? std::string() : narrow(windowText(control));
    }

    app::Pixels geometry(std::string_view name) override {
        RECT place = clientPlace(find(name));
        if (name != "SSTab1" && name != "Label1") {
            const RECT tab = clientPlace(form_.tabControl());
            OffsetRect(&place, -tab.left, -tab.top);
        }
        return {place.left, place.top, place.right - place.left, place.bottom - place.top};
    }

    bool visible(std::string_view name) override { return IsWindowVisible(find(name)) != FALSE; }

    std::string text(std::string_view name) override { return narrow(windowText(find(name))); }
    std::string selectedText(std::string_view name) override {
        DWORD first = 0;
        DWORD last = 0;
        HWND box = find(name);
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                     reinterpret_cast<LPARAM>(&last));
        return narrow(windowText(box).substr(first, last - first));
    }

    void setText(std::string_view name, std::string_view text) override {
        SetWindowTextW(find(name), widen(text).c_str());
    }

    void type(std::string_view name, std::string_view text) override {
        HWND box = find(name);
        SetFocus(box);
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
        SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
        for (const wchar_t character : widen(text)) {
            // The key that types it on this keyboard layout, with Shift if it
            // needs it; TranslateMessage makes the character of it.
            const SHORT key = VkKeyScanW(character);
            if (key == -1) {
                throw std::runtime_error("no key types that character");
            }
            stroke(LOBYTE(key), false, (HIBYTE(key) & 1U) != 0);
        }
    }

    void paste(std::string_view name, std::string_view text) override {
        HWND box = find(name);
        SetWindowTextW(box, L"");
        SetFocus(box);
        putOnClipboard(widen(text));
        stroke('V', true, false);
    }

    void click(std::string_view name) override {
        HWND control = find(name);
        if (IsWindowVisible(control) != FALSE) {
            RECT client{};
            GetClientRect(control, &client);
            mouseClick(control, {client.right / 2, client.bottom / 2});
        } else {
            SendMessageW(control, BM_CLICK, 0, 0);  // no pointer reaches a hidden control
            settle();
        }
    }

    void focus(std::string_view name) override {
        SetFocus(find(name));
        settle();
    }

    std::string focused() override {
        HWND focus = GetFocus();
        if (focus == nullptr) {
            return "(none)";
        }
        for (const auto& control : app::controls) {
            if (form_.control(control.name) == focus) {
                return std::string(control.name);
            }
        }
        return "(not a control of Form1)";
    }

    void key(Key key) override;

    TextRoom textRoom(std::string_view name) override {
        HWND control = find(name);
        RECT client{};
        GetClientRect(control, &client);
        TextRoom room{client.right, client.bottom, 0, 0};
        const app::Kind what = kind(name);
        if (what == app::Kind::Button) {
            // A button's caption stands inside its raised edge.
            room.width -= 2 * win32::systemMetric(SM_CXEDGE, form_.dpi());
            room.height -= 2 * win32::systemMetric(SM_CYEDGE, form_.dpi());
        }
        const Measured text =
            measure(fontOf(control), what == app::Kind::TextBox ? L"" : windowText(control));
        room.textWidth = text.width;
        room.lineHeight = text.lineHeight;
        return room;
    }

    TextRoom tabTextRoom(int page) override {
        RECT tab{};
        SendMessageW(form_.tabControl(), TCM_GETITEMRECT, static_cast<WPARAM>(page - 1),
                     reinterpret_cast<LPARAM>(&tab));
        const std::wstring caption = widen(app::tabCaptions.at(static_cast<std::size_t>(page - 1)));
        const Measured text = measure(fontOf(form_.tabControl()), caption);
        return {tab.right - tab.left - 4, tab.bottom - tab.top, text.width, text.lineHeight};
    }

    void destroy(std::string_view name) override {
        DestroyWindow(find(name));
        settle();
    }

    std::vector<ShownError> takeErrors() override { return std::exchange(errors_, {}); }

    // Wine's edit control takes time quadratic in the text's length: a
    // megabyte takes minutes there. Windows' own does not, but these tests
    // run under Wine.
    std::size_t longestText() override { return 20000; }

    std::optional<std::size_t> residentBytes() override {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        return counters.WorkingSetSize;
    }

    [[nodiscard]] win32::Form1& form() { return form_; }

    // What the message loop does between a person's steps.
    void settle() {
        MSG message{};
        // Bounded: a window that never validates would otherwise keep it busy.
        for (int i = 0; i < 10000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
             ++i) {
            deliver(message);
        }
    }

    void deliver(MSG& message) {
        if (!form_.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

private:
    HWND find(std::string_view name) {
        HWND control = form_.control(name);
        if (control == nullptr || IsWindow(control) == FALSE) {
            throw std::runtime_error("no control " + std::string(name));
        }
        return control;
    }

    RECT clientPlace(HWND control) {
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, form_.window(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    // Through the loop, as the system queues a click.
    void mouseClick(HWND control, POINT point) {
        MSG message{};
        message.hwnd = control;
        message.lParam = pointParam(point);
        message.pt = point;
        ClientToScreen(control, &message.pt);
        message.message = WM_LBUTTONDOWN;
        message.wParam = MK_LBUTTON;
        deliver(message);
        settle();
        message.message = WM_LBUTTONUP;
        message.wParam = 0;
        deliver(message);
        settle();
    }

    // A key pressed and released on the focused control, as the system
    // queues it, through the loop's pre-translation.
    void stroke(UINT virtualKey, bool ctrl, bool shift, bool extended = false) {
        const Modifiers held(ctrl, shift);
        const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
        const auto down = static_cast<LPARAM>(1U | (scan << 16U) | (extended ? 1U << 24U : 0U));
        const auto up = static_cast<LPARAM>(static_cast<ULONG_PTR>(down) | 0xC0000000U);
        MSG message{};
        message.hwnd = GetFocus();
        message.message = WM_KEYDOWN;
        message.wParam = virtualKey;
        message.lParam = down;
        deliver(message);
        settle();
        message.hwnd = GetFocus();
        message.message = WM_KEYUP;
        message.lParam = up;
        deliver(message);
        settle();
    }

    void putOnClipboard(const std::wstring& text);

    std::vector<ShownError> errors_;
    win32::ScopedErrorPresenter seam_;
    win32::Form1 form_;
};

}  // namespace qimbar::testing
