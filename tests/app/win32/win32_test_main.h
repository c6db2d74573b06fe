#pragma once

// The main() of the Win32 test programs, with doctest's implementation: the
// common controls and COM as the program has them, then the tests. Included
// by one file of each test program.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#define DOCTEST_CONFIG_IMPLEMENT

#include <doctest/doctest.h>

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
