// Building Form1 with its 130 controls, its fonts, tooltips and layout,
// against creating the same number of bare child windows in a bare parent.
// Alternating, median of each, under whatever runs the program (Wine here).
#include "app/win32/form1.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 41;

void pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double buildForm1() {
    const auto start = Clock::now();
    {
        const qimbar::win32::Form1 form({.instance = GetModuleHandleW(nullptr),
                                         .showCommand = SW_SHOWNOACTIVATE,
                                         .endsProgram = false});
        const auto built = Clock::now();
        pump();
        return std::chrono::duration<double, std::milli>(built - start).count();
    }
}

double buildBare() {
    const auto start = Clock::now();
    HWND parent =
        CreateWindowExW(0, WC_STATICW, L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        489, 424, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < static_cast<int>(qimbar::app::controls.size()); ++i) {
        CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                        GetModuleHandleW(nullptr), nullptr);
    }
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    const auto built = Clock::now();
    pump();
    DestroyWindow(parent);
    pump();
    return std::chrono::duration<double, std::milli>(built - start).count();
}

double median(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + static_cast<long>(samples.size() / 2),
                     samples.end());
    return samples[samples.size() / 2];
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&classes);
    buildForm1();  // warm: classes registered, fonts cached
    buildBare();
    std::vector<double> form;
    std::vector<double> bare;
    for (int run = 0; run < kRuns; ++run) {
        if (run % 2 == 0) {
            form.push_back(buildForm1());
            bare.push_back(buildBare());
        } else {
            bare.push_back(buildBare());
            form.push_back(buildForm1());
        }
    }
    const double f = median(form);
    const double b = median(bare);
    std::printf("building the window, %d runs each (median):\n", kRuns);
    std::printf("  %zu bare child windows  %7.2f ms\n", qimbar::app::controls.size(), b);
    std::printf("  Form1 with its controls %7.2f ms\n", f);
    std::printf("  ratio %.2f (goal: at most 1.5)\n", f / b);
    return 0;
}
