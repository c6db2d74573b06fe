// What only the Win32 shell has: the label face and its fallback, the
// manifest in force, the layout at the window's DPI, the tooltips, and what a
// screen reader is given.
#include "app/unit_explanation.h"
#include "app/win32/fonts.h"
#include "app/win32/form1.h"
#include "app/win32/unicode.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "tests/app/win32/win32_test_main.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

using qimbar::win32::Form1;
using qimbar::win32::narrow;
using qimbar::win32::widen;

namespace {

// The window, shown, with what it finishes once it is up done.
std::unique_ptr<Form1> openForm() {
    auto form = std::make_unique<Form1>(qimbar::win32::Form1Options{
        .instance = GetModuleHandleW(nullptr), .showCommand = SW_SHOWNORMAL, .endsProgram = false});
    qimbar::testing::waitForStartUp(*form);
    return form;
}

std::wstring windowText(HWND window) {
    std::array<wchar_t, 256> text{};
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::string labelOf(const qimbar::convert::UnitRow& row) {
    return "Label" + std::to_string(row.label);
}

}  // namespace

TEST_CASE("labels: the first face that draws Cyrillic at 9.75 point, every caption fits") {
    auto form = openForm();
    LOGFONTW font{};
    REQUIRE(GetObjectW(form->labelFont(), sizeof(font), &font) == sizeof(font));
    CHECK(font.lfHeight == -MulDiv(975, form->dpi(), 7200));
    CHECK(font.lfWeight == FW_NORMAL);
    CHECK(font.lfCharSet == RUSSIAN_CHARSET);
    CHECK((font.lfItalic == 0 && font.lfUnderline == 0 && font.lfStrikeOut == 0));

    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, form->labelFont());
    std::array<wchar_t, LF_FACESIZE> face{};
    GetTextFaceW(screen, static_cast<int>(face.size()), face.data());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const std::wstring realised = face.data();
    MESSAGE("label face: ", narrow(realised), ", character set ", int{metrics.tmCharSet});
    const auto& faces = qimbar::app::kLabelFont.faces;
    CHECK(std::find(faces.begin(), faces.end(), narrow(realised)) != faces.end());
    CHECK(metrics.tmCharSet == RUSSIAN_CHARSET);

    for (const auto& page : qimbar::convert::pages) {
        for (const auto& row : page.rows) {
            CAPTURE(row.caption);
            HWND label = form->control(labelOf(row));
            REQUIRE(label != nullptr);
            CHECK(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)) ==
                  form->labelFont());
            HDC dc = GetDC(label);
            HGDIOBJ old = SelectObject(dc, form->labelFont());
            const std::wstring caption = windowText(label);
            SIZE extent{};
            GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(label, dc);
            RECT client{};
            GetClientRect(label, &client);
            CHECK(extent.cx <= client.right);
            CHECK(extent.cy <= client.bottom);
        }
    }
}

TEST_CASE("the manifest is in force: common controls 6, per-monitor DPI awareness") {
    // The common controls whose code runs the window's own tab control.
    auto form = openForm();
    HMODULE comctl = nullptr;
    REQUIRE(
        GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(form->tabControl(), GWLP_WNDPROC)),
            &comctl) != FALSE);
    std::array<wchar_t, MAX_PATH> path{};
    GetModuleFileNameW(comctl, path.data(), static_cast<DWORD>(path.size()));
    std::wstring file = path.data();
    CharLowerW(file.data());
    // Version 6 is only ever loaded side by side, from its own assembly.
    CHECK_MESSAGE(file.find(L"\\winsxs\\") != std::wstring::npos, narrow(file));
    CHECK_MESSAGE(
        file.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0.") != std::wstring::npos,
        narrow(file));
    // Windows' own reports 6 here; Wine's side-by-side copy still says 5.
    void* entry = reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion"));
    REQUIRE(entry != nullptr);
    DLLVERSIONINFO version{};
    version.cbSize = sizeof(version);
    REQUIRE(SUCCEEDED(reinterpret_cast<DLLGETVERSIONPROC>(entry)(&version)));
    MESSAGE("common controls report version ", version.dwMajorVersion, ".", version.dwMinorVersion);

    CHECK(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()) ==
          DPI_AWARENESS_PER_MONITOR_AWARE);
    CHECK(GetACP() == CP_UTF8);
}

TEST_CASE("the layout follows the window's DPI") {
    auto form = openForm();
    const int dpi = form->dpi();
    CHECK(dpi == static_cast<int>(GetDpiForWindow(form->window())));
    if (const char* expected = std::getenv("QIMBAR_EXPECT_DPI")) {
        REQUIRE(dpi == std::atoi(expected));
    }
    RECT client{};
    GetClientRect(form->window(), &client);
    if (dpi == 144) {
        CHECK(client.right == 733);
        CHECK(client.bottom == 636);
    } else if (dpi == 96) {
        CHECK(client.right == 489);
        CHECK(client.bottom == 424);
    }
    CHECK(client.right == qimbar::app::twipsToPixels(7335, dpi));
    CHECK(client.bottom == qimbar::app::twipsToPixels(6360, dpi));

    RECT tab{};
    GetWindowRect(form->tabControl(), &tab);
    MapWindowPoints(HWND_DESKTOP, form->window(), reinterpret_cast<POINT*>(&tab), 2);
    for (const auto& control : qimbar::app::controls) {
        CAPTURE(control.name);
        RECT place{};
        GetWindowRect(form->control(control.name), &place);
        MapWindowPoints(HWND_DESKTOP, form->window(), reinterpret_cast<POINT*>(&place), 2);
        if (control.name != "SSTab1" && control.name != "Label1") {
            OffsetRect(&place, -tab.left, -tab.top);
        }
        const auto expected = qimbar::app::toPixels(control.geometry, dpi);
        CHECK(place.left == expected.left);
        CHECK(place.top == expected.top);
        CHECK(place.right - place.left == expected.width);
        CHECK(place.bottom - place.top == expected.height);
    }
    // Six tabs of one width in one row, within the strip, as high as described.
    RECT strip{};
    GetClientRect(form->tabControl(), &strip);
    RECT first{};
    SendMessageW(form->tabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    for (WPARAM i = 1; i < 6; ++i) {
        RECT tabRect{};
        SendMessageW(form->tabControl(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tabRect));
        CHECK(tabRect.right - tabRect.left == first.right - first.left);
        CHECK(tabRect.top == first.top);
        if (i == 5) {
            CHECK(tabRect.right <= strip.right);
        }
    }
    CHECK(6 * (first.right - first.left) > strip.right * 9 / 10);  // they share the strip
    HWND arrows = FindWindowExW(form->tabControl(), nullptr, UPDOWN_CLASSW, nullptr);
    CHECK((arrows == nullptr || (GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE) == 0));
    CHECK(first.bottom - first.top == qimbar::app::twipsToPixels(520, dpi));
}

TEST_CASE("moved to a screen of another DPI, the window lays itself out again") {
    auto form = openForm();
    const int dpi = form->dpi() == 144 ? 96 : 144;
    RECT suggested{};
    GetWindowRect(form->window(), &suggested);
    SendMessageW(form->window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    CHECK(form->dpi() == dpi);
    RECT client{};
    GetClientRect(form->window(), &client);
    CHECK(client.right == qimbar::app::twipsToPixels(7335, dpi));
    CHECK(client.bottom == qimbar::app::twipsToPixels(6360, dpi));
    RECT box{};
    GetWindowRect(form->control("Text35"), &box);
    MapWindowPoints(HWND_DESKTOP, form->window(), reinterpret_cast<POINT*>(&box), 2);
    CHECK(box.left == qimbar::app::twipsToPixels(240, dpi) + qimbar::app::twipsToPixels(2880, dpi));
    CHECK(box.top == qimbar::app::twipsToPixels(240, dpi) + qimbar::app::twipsToPixels(3600, dpi));
    CHECK(box.bottom - box.top == qimbar::app::twipsToPixels(285, dpi));
    LOGFONTW font{};
    GetObjectW(form->labelFont(), sizeof(font), &font);
    CHECK(font.lfHeight == -MulDiv(975, dpi, 7200));
}

TEST_CASE("pixels: the page in the button face, the credit line in dark blue") {
    auto form = openForm();
    UpdateWindow(form->window());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    HWND tab = form->tabControl();
    HDC page = GetDC(tab);
    // Left of the labels and below the last row of "Hajm": nothing but the page.
    const int dpi = form->dpi();
    for (const auto& [x, y] : {std::pair{20, 100}, std::pair{40, 300}, std::pair{400, 350}}) {
        CAPTURE(x);
        CAPTURE(y);
        CHECK(GetPixel(page, MulDiv(x, dpi, 96), MulDiv(y, dpi, 96)) == face);
    }
    ReleaseDC(tab, page);

    HWND credit = form->control("Label1");
    HDC dc = GetDC(credit);
    RECT client{};
    GetClientRect(credit, &client);
    int blue = 0;
    int other = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF pixel = GetPixel(dc, x, y);
            if (pixel == RGB(0, 0, 192)) {
                ++blue;
            } else if (GetRValue(pixel) != GetGValue(pixel)) {
                ++other;  // neither the text nor a grey of the face or the tab's edge
            }
        }
    }
    const COLORREF end = GetPixel(dc, client.right - 1, client.bottom / 2);
    ReleaseDC(credit, dc);
    CHECK(blue > 20);
    CHECK(other == 0);
    CHECK(end == face);  // opaque, past the end of its text
}

TEST_CASE("each label's tooltip explains its unit, as the Qt shell's does") {
    auto form = openForm();
    const auto tooltipOf = [&form](HWND label) {
        std::array<wchar_t, 256> text{};
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = form->window();
        tool.uId = reinterpret_cast<UINT_PTR>(label);
        tool.lpszText = text.data();
        SendMessageW(form->tooltips(), TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
        return narrow(text.data());
    };
    CHECK(tooltipOf(form->control("Label6")) == "1 Arshin = 0.7 Metr");
    CHECK(tooltipOf(form->control("Label36")) == "Selsiy = Farengeyt \u00D7 0.555 \u2212 17.78");
    int tools = 0;
    for (const auto& page : qimbar::convert::pages) {
        for (const auto& row : page.rows) {
            CAPTURE(row.caption);
            CHECK(tooltipOf(form->control(labelOf(row))) ==
                  qimbar::app::unitExplanation(page, row.row));
            ++tools;
        }
    }
    CHECK(SendMessageW(form->tooltips(), TTM_GETTOOLCOUNT, 0, 0) == tools);
}

TEST_CASE("a screen reader names each box by its label and each button by its unit") {
    // Wine's accessibility layer neither honours annotations nor names an edit
    // control by the label before it; on Windows both must hold.
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    const auto nameOf = [](HWND window) {
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                              __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&accessible)))) {
            return std::string("(no accessible object)");
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        const HRESULT named = accessible->get_accName(self, &name);
        accessible->Release();
        std::string text = SUCCEEDED(named) && name != nullptr ? narrow(name) : std::string();
        SysFreeString(name);
        return text;
    };
    auto form = openForm();
    int unannotated = 0;
    int unnamedBoxes = 0;
    for (const auto& page : qimbar::convert::pages) {
        for (const auto& row : page.rows) {
            CAPTURE(row.caption);
            HWND label = form->control(labelOf(row));
            HWND box = form->control("Text" + std::to_string(row.box));
            HWND button = form->control("Command" + std::to_string(row.box));
            // The label stands just before its box in the z-order, and takes no Tab stop.
            CHECK(GetWindow(box, GW_HWNDPREV) == label);
            CHECK((GetWindowLongW(label, GWL_STYLE) & WS_TABSTOP) == 0);

            const std::string buttonName = nameOf(button);
            if (wine && buttonName == "Hisoblash") {
                ++unannotated;
            } else {
                CHECK(buttonName == "Hisoblash: " + std::string(row.caption));
            }
            const std::string boxName = nameOf(box);
            if (wine && boxName != row.caption) {
                ++unnamedBoxes;
            } else {
                CHECK(boxName == row.caption);
            }
        }
    }
    if (unannotated + unnamedBoxes > 0) {
        MESSAGE("under Wine: ", unannotated, " buttons keep their caption as their name, ",
                unnamedBoxes, " boxes are not named by their label");
    }
}
