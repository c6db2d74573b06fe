#include "app/win32/form1.h"
#include "app/win32/system_error.h"

#include <windows.h>

#include <commctrl.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&classes);
    try {
        qimbar::win32::Form1 form({.instance = instance, .showCommand = show, .endsProgram = true});
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!form.preTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, qimbar::win32::startFailureText(error).c_str(), L"Qimbar birliklari",
                    MB_OK | MB_ICONERROR);
    }
    return 1;
}
