// Looks at the running program from outside, as an accessibility tool would,
// for the smoke test and the package check:
//   probe where <control>   the control's centre on the screen: "x y"
//   probe text <control>    the control's text
//   probe close             what the window's close box sends
//   probe message           the text of the message box on the screen (any
//                           program's), then its OK button pressed
#include "app/win32/control_id.h"
#include "app/win32/unicode.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

HWND findForm() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (HWND form = FindWindowW(L"QimbarBirliklariForm1", L"Qimbar birliklari")) {
            return form;
        }
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK findMessageBox(HWND window, LPARAM found) {
    std::array<wchar_t, 16> type{};
    GetClassNameW(window, type.data(), static_cast<int>(type.size()));
    if (IsWindowVisible(window) != FALSE && std::wstring(type.data()) == L"#32770" &&
        GetDlgItem(window, 0xFFFF) != nullptr) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// A message box's text stands in its static control of ID 0xFFFF.
int readMessageBox() {
    HWND box = nullptr;
    for (int attempt = 0; attempt < 100 && box == nullptr; ++attempt) {
        EnumWindows(findMessageBox, reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) {
            Sleep(100);
        }
    }
    if (box == nullptr) {
        std::fprintf(stderr, "probe: no message box\n");
        return 1;
    }
    std::array<wchar_t, 1024> text{};
    GetDlgItemTextW(box, 0xFFFF, text.data(), static_cast<int>(text.size()));
    std::printf("%s\n", qimbar::win32::narrow(text.data()).c_str());
    std::fflush(stdout);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe where|text <control> | probe close | probe message\n");
        return 2;
    }
    if (std::string(argv[1]) == "message") {
        return readMessageBox();
    }
    HWND form = findForm();
    if (form == nullptr) {
        std::fprintf(stderr, "probe: no window titled 'Qimbar birliklari'\n");
        return 1;
    }
    const std::string command = argv[1];
    if (command == "close") {
        PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    const auto id = argc > 2 ? qimbar::win32::controlIdOf(argv[2]) : std::nullopt;
    HWND control = id ? GetDlgItem(form, *id) : nullptr;
    if (control == nullptr) {
        std::fprintf(stderr, "probe: no such control\n");
        return 1;
    }
    if (command == "where") {
        RECT place{};
        GetWindowRect(control, &place);
        std::printf("%ld %ld\n", (place.left + place.right) / 2, (place.top + place.bottom) / 2);
        return 0;
    }
    if (command == "text") {
        std::array<wchar_t, 4096> text{};
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, 5000, &copied);
        std::printf("%s\n", qimbar::win32::narrow(text.data()).c_str());
        return 0;
    }
    std::fprintf(stderr, "probe: unknown command %s\n", command.c_str());
    return 2;
}
