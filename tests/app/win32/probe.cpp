// Looks at the running program from outside, as an accessibility tool would,
// for the smoke test:
//   probe where <control>   the control's centre on the screen: "x y"
//   probe text <control>    the control's text
//   probe close             what the window's close box sends
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

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: probe where|text <control> | probe close\n");
        return 2;
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
