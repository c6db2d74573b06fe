#include "app/win32/newer_api.h"

namespace qimbar::win32 {

namespace {

NewerApi lookUpNewerApi() {
    NewerApi api;
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        lookUp(user32, "GetDpiForWindow", api.getDpiForWindow);
        lookUp(user32, "AdjustWindowRectExForDpi", api.adjustWindowRectExForDpi);
        lookUp(user32, "GetSystemMetricsForDpi", api.getSystemMetricsForDpi);
    }
    // Only where the per-window DPI is missing (8, 8.1, early 10), and only from
    // the system's folder; Windows 7 has no shcore. Kept loaded.
    if (api.getDpiForWindow == nullptr) {
        if (HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            lookUp(shcore, "GetDpiForMonitor", api.getDpiForMonitor);
        }
    }
    return api;
}

int screenDpi(HWND window) {
    HDC dc = GetDC(window);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

NewerApi& newerApi() {
    static NewerApi api = lookUpNewerApi();
    return api;
}

int dpiOf(HWND window) {
    if (const auto getDpiForWindow = newerApi().getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    if (const auto getDpiForMonitor = newerApi().getDpiForMonitor) {
        UINT x = 0;
        UINT y = 0;
        if (SUCCEEDED(
                getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) &&
            y != 0) {
            return static_cast<int>(y);
        }
    }
    return screenDpi(window);
}

SIZE frameSize(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, width, height};
    const auto adjustForDpi = newerApi().adjustWindowRectExForDpi;
    if (adjustForDpi == nullptr ||
        adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)) == FALSE) {
        // Windows 7 and 8.1 draw every frame at the system's DPI; the caller
        // makes up any difference once the frame is drawn.
        frame = {0, 0, width, height};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int systemMetric(int index, int dpi) {
    if (const auto forDpi = newerApi().getSystemMetricsForDpi) {
        return forDpi(index, static_cast<UINT>(dpi));
    }
    return MulDiv(GetSystemMetrics(index), dpi, screenDpi(nullptr));
}

}  // namespace qimbar::win32
