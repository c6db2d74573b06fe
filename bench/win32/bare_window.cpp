// The floors for start-up under Windows: a bare Win32 window with the
// program's client size, frame and manifest, and nothing in it; with --tab,
// the same window holding one tab control of six tabs, which makes it load
// common controls 6 and draw text, as every window built of common controls
// must.
#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR commandLine, int show) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassExW(&windowClass);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, 489, 424};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Bare window", style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    if (commandLine != nullptr && lstrcmpW(commandLine, L"--tab") == 0) {
        INITCOMMONCONTROLSEX classes{};
        classes.dwSize = sizeof(classes);
        classes.dwICC = ICC_TAB_CLASSES;
        InitCommonControlsEx(&classes);
        HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 16, 16, 454, 393,
                                    window, nullptr, instance, nullptr);
        for (const wchar_t* caption :
             {L"Uzunlik", L"Og'irlik", L"Hajm", L"Tezlik", L"Maydon", L"Harorat"}) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(caption);
            SendMessageW(tabs, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
        }
    }
    ShowWindow(window, show);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
