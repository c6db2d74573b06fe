// Building Form1 up to the moment it shows (its fonts, the tab control, the
// credit line and the start page's rows), against creating as many bare
// child windows in a bare parent; and the rest, made once the window is up.
// Alternating, median of each, under whatever runs the program (Wine here).
#include "app/win32/fonts.h"
#include "app/win32/form1.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
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

// The controls the first look has: the start page's, the tab control, the credit line.
int firstLookControls() {
    return static_cast<int>(std::count_if(
        qimbar::app::controls.begin(), qimbar::app::controls.end(), [](const auto& control) {
            return control.page == qimbar::app::form1.startPage || control.name == "SSTab1" ||
                   control.name == "Label1";
        }));
}

struct Form1Times {
    double shown;     // until the window shows
    double finished;  // the rest, once it is up
};

Form1Times buildForm1() {
    const auto start = Clock::now();
    const qimbar::win32::Form1 form({.instance = GetModuleHandleW(nullptr),
                                     .showCommand = SW_SHOWNOACTIVATE,
                                     .endsProgram = false});
    const auto shown = Clock::now();
    while (!form.startedUp()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        pump();
    }
    const auto finished = Clock::now();
    return {std::chrono::duration<double, std::milli>(shown - start).count(),
            std::chrono::duration<double, std::milli>(finished - shown).count()};
}

double buildBare() {
    const auto start = Clock::now();
    HWND parent =
        CreateWindowExW(0, WC_STATICW, L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        489, 424, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < firstLookControls(); ++i) {
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

// Parts of the first look on their own: the two fonts chosen from the face
// list, and a bare tab control with six tabs shown.
double chooseFonts() {
    const auto start = Clock::now();
    const auto label = qimbar::win32::chooseFont(qimbar::app::kLabelFont, 96);
    const auto window = qimbar::win32::chooseFont(qimbar::app::kWindowFont, 96);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double showTabs() {
    const auto start = Clock::now();
    HWND parent =
        CreateWindowExW(0, WC_STATICW, L"Tabs", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        489, 424, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 16, 16, 454, 393,
                                parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (std::size_t i = 0; i < qimbar::app::tabCaptions.size(); ++i) {
        std::wstring caption(qimbar::app::tabCaptions.at(i).begin(),
                             qimbar::app::tabCaptions.at(i).end());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    UpdateWindow(parent);
    const auto built = Clock::now();
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
    std::vector<double> shown;
    std::vector<double> finished;
    std::vector<double> bare;
    const auto form = [&] {
        const Form1Times times = buildForm1();
        shown.push_back(times.shown);
        finished.push_back(times.finished);
    };
    for (int run = 0; run < kRuns; ++run) {
        if (run % 2 == 0) {
            form();
            bare.push_back(buildBare());
        } else {
            bare.push_back(buildBare());
            form();
        }
    }
    const double f = median(shown);
    const double b = median(bare);
    std::printf("building the window in process, %d runs each (median):\n", kRuns);
    std::printf("  %d bare child windows                 %7.2f ms\n", firstLookControls(), b);
    std::printf("  Form1 until it shows (%d controls)    %7.2f ms (%.2f times)\n",
                firstLookControls(), f, f / b);
    std::printf("  the rest, once the window is up       %7.2f ms\n", median(finished));
    std::vector<double> fonts;
    std::vector<double> tabs;
    for (int run = 0; run < kRuns; ++run) {
        fonts.push_back(chooseFonts());
        tabs.push_back(showTabs());
    }
    std::printf("  of which, alone: both fonts chosen    %7.2f ms\n", median(fonts));
    std::printf("  a bare tab control, shown and drawn   %7.2f ms\n", median(tabs));
    return 0;
}
