#pragma once

// What the window needs from Windows that Windows 7 does not have, looked up
// at run time so that the program still starts there, each with the fallback
// Windows 7 and 8.1 have. The shell is compiled for Windows 7 (_WIN32_WINNT
// 0x0601), so a newer function called by name does not compile.

#include "app/scoped_override.h"

#include <windows.h>

namespace qimbar::win32 {

// The functions of Windows 10 1607 and later, and shcore's of 8.1 (looked up
// only where the first are missing), or null where there are none.
struct NewerApi {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    // GetDpiForMonitor; the second argument is MDT_EFFECTIVE_DPI (0).
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
};

// A function of the library by name, or null; through void* since FARPROC
// has no parameters to match.
template <typename Function>
void lookUp(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Looked up in user32 and shcore on first use. Tests empty it to run the fallbacks.
[[nodiscard]] NewerApi& newerApi();
using ScopedNewerApi = app::ScopedSlotOverride<NewerApi, newerApi>;

// The DPI `window` is shown at: its own where Windows knows it per window
// (10 1607), else its monitor's (8.1), else the screen's (7).
[[nodiscard]] int dpiOf(HWND window);

// The outer size of a window of that style whose client area is
// `width` × `height` at `dpi`.
[[nodiscard]] SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, int dpi);

// GetSystemMetrics at `dpi`.
[[nodiscard]] int systemMetric(int index, int dpi);

}  // namespace qimbar::win32
