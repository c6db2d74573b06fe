// The Win32 driver's longer steps, for the behaviour suite and the Win32 tests.
#include "tests/app/win32/win32_window.h"

namespace qimbar::testing {

void Win32Window::key(Key key) {
    switch (key) {
        case Key::Tab:
            return stroke(VK_TAB, false, false);
        case Key::ShiftTab:
            return stroke(VK_TAB, false, true);
        case Key::Space:
            return stroke(VK_SPACE, false, false);
        case Key::Enter:
            return stroke(VK_RETURN, false, false);
        case Key::KeypadEnter:
            return stroke(VK_RETURN, false, false, true);
        case Key::Escape:
            return stroke(VK_ESCAPE, false, false);
        case Key::CtrlTab:
            return stroke(VK_TAB, true, false);
        case Key::CtrlShiftTab:
            return stroke(VK_TAB, true, true);
        case Key::Left:
            return stroke(VK_LEFT, false, false, true);
        case Key::Right:
            return stroke(VK_RIGHT, false, false, true);
    }
}

void Win32Window::putOnClipboard(const std::wstring& text) {
    for (int attempt = 0; OpenClipboard(form_.window()) == FALSE; ++attempt) {
        if (attempt == 50) {
            throw std::runtime_error("the clipboard stays busy");
        }
        Sleep(20);
    }
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory != nullptr) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
            GlobalFree(memory);  // still ours when the clipboard refused it
        }
    }
    CloseClipboard();
}

}  // namespace qimbar::testing
