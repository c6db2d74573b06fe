#pragma once

// The main() of the Win32 test programs, with doctest's implementation: the
// common controls and COM as the program has them, then the tests. Included
// by one file of each test program.

#include <commctrl.h>
#define DOCTEST_CONFIG_IMPLEMENT
#include <windows.h>

#include <objbase.h>

#include <doctest/doctest.h>

namespace qimbar::testing {

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

}  // namespace qimbar::testing

int main(int argc, char* argv[]) {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&classes);
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    doctest::Context context(argc, argv);
    const int result = context.run();
    if (com) {
        CoUninitialize();
    }
    return result;
}
