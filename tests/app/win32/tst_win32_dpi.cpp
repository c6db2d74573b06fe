// The fonts, the manifest in force, the layout and what fits in it at any
// DPI, Windows 7's fallbacks and a DPI change.
#include "app/win32/fonts.h"
#include "tests/app/text_fits.h"
#include "tests/app/win32/shell_support.h"

#include <cstdlib>

namespace qimbar::testing {

TEST_CASE(
    "fonts: unit names in the first face that draws Cyrillic at 9.75 point, the rest 8 point") {
    Win32Window w;
    auto* form = &w.form();
    struct Case {
        const char* name;
        HFONT font;
        const app::FontDescription& description;
        BYTE charSet;
    };
    const Case cases[] = {
        {"label font", form->labelFont(), app::kLabelFont, RUSSIAN_CHARSET},
        {"window font", form->windowFont(), app::kWindowFont, DEFAULT_CHARSET},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        LOGFONTW font{};
        REQUIRE(GetObjectW(c.font, sizeof(font), &font) == sizeof(font));
        CHECK(font.lfHeight == -app::fontPixels(c.description, form->dpi()));
        CHECK(font.lfWeight == FW_NORMAL);
        CHECK(font.lfCharSet == c.charSet);
        CHECK((font.lfItalic == 0 && font.lfUnderline == 0 && font.lfStrikeOut == 0));
        // The face realised is the first of the list this system has.
        std::wstring first;
        for (const std::string_view face : c.description.faces) {
            if (win32::realise(c.description, widen(face), form->dpi())) {
                first = widen(face);
                break;
            }
        }
        HDC screen = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(screen, c.font);
        std::array<wchar_t, LF_FACESIZE> face{};
        GetTextFaceW(screen, static_cast<int>(face.size()), face.data());
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
        MESSAGE(std::string_view(c.name), ": ", narrow(face.data()), " at ", form->dpi(), " DPI");
        CHECK(face.data() == first);
    }
    for (const auto& control : app::controls) {
        CAPTURE(control.name);
        const bool unitName = control.kind == Kind::Label && control.page != 0;
        CHECK(fontOf(form->control(control.name)) ==
              (unitName ? form->labelFont() : form->windowFont()));
    }
}

TEST_CASE("the manifest is in force: common controls 6, per-monitor DPI awareness") {
    // The common controls whose code runs the window's own tab control.
    Win32Window w;
    auto* form = &w.form();
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
    CHECK(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()) ==
          DPI_AWARENESS_PER_MONITOR_AWARE);
    CHECK(GetACP() == CP_UTF8);
}

TEST_CASE("the layout follows the window's DPI") {
    Win32Window w;
    auto* form = &w.form();
    CHECK(form->dpi() == static_cast<int>(GetDpiForWindow(form->window())));
    if (const char* expected = std::getenv("QIMBAR_EXPECT_DPI")) {
        REQUIRE(form->dpi() == std::atoi(expected));
    }
    checkLayout(w);
}

TEST_CASE("without what Windows 7 lacks, the window finds its DPI and lays itself out") {
    // The fallbacks Windows 7 and 8.1 take: the screen's DPI from the device
    // context, and the frame from AdjustWindowRectEx.
    const win32::ScopedNewerApi windows7({});
    Win32Window w;
    Form1* form = &w.form();
    HDC screen = GetDC(nullptr);
    const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    CHECK(form->dpi() == screenDpi);
    if (const char* expected = std::getenv("QIMBAR_EXPECT_DPI")) {
        REQUIRE(form->dpi() == std::atoi(expected));
    }
    checkLayout(w);
    checkTextFits(w);
}

namespace {

HRESULT WINAPI monitorAt120(HMONITOR /*monitor*/, int /*type*/, UINT* x, UINT* y) {
    *x = *y = 120;
    return S_OK;
}

}  // namespace

TEST_CASE(
    "Windows 8.1: the monitor's DPI at creation, and the frame per-monitor v1 leaves unscaled") {
    win32::NewerApi windows81;
    windows81.getDpiForMonitor = monitorAt120;  // stands in for a 120-DPI monitor
    const win32::ScopedNewerApi scoped(windows81);
    Win32Window w;
    CHECK(w.form().dpi() == 120);
    checkLayout(w);
    // Moved to a 144-DPI monitor: the suggested frame is scaled, the one drawn is not.
    const RECT suggested = frameAt(40, 30, 144);
    changeDpi(w.form(), 144, suggested);
    RECT now{};
    GetWindowRect(w.form().window(), &now);
    CHECK(now.left == suggested.left);
    CHECK(now.top == suggested.top);
    checkLayout(w);
}

TEST_CASE("text fits its control at 96, 120, 144 and 192 DPI") {
    Win32Window w;
    for (const int dpi : {96, 120, 144, 192}) {
        CAPTURE(dpi);
        changeDpi(w.form(), dpi, frameAt(0, 0, dpi));
        REQUIRE(w.form().dpi() == dpi);
        checkTextFits(w);
    }
}

TEST_CASE("every listed face that the system has fits at 96, 120, 144 and 192 DPI") {
    // Whichever face a machine ends up with, the text fits: each face of the
    // list, at each size, measured from its own metrics against the controls
    // the description gives at that DPI.
    std::vector<std::string> measured;
    for (const int dpi : {96, 120, 144, 192}) {
        for (const auto* description : {&app::kLabelFont, &app::kWindowFont}) {
            for (const std::string_view face : description->faces) {
                const auto font = win32::realise(*description, widen(face), dpi);
                if (!font) {
                    continue;  // not on this system, or not at this size
                }
                measured.push_back(std::string(face) + " " + std::to_string(dpi));
                for (const auto& control : app::controls) {
                    const bool unitName = control.kind == Kind::Label && control.page != 0;
                    if ((description == &app::kLabelFont) != unitName ||
                        control.kind == Kind::TabControl ||
                        (control.page == 0 && control.name != "Label1")) {
                        continue;
                    }
                    CAPTURE(face);
                    CAPTURE(dpi);
                    CAPTURE(control.name);
                    const auto size = app::toPixels(control.geometry, dpi);
                    const int edge =
                        control.kind == Kind::TextBox ? 2 * win32::systemMetric(SM_CYEDGE, dpi) : 0;
                    const SIZE room = roomIn(control.kind, {size.width, size.height - edge}, dpi);
                    const std::wstring text = control.kind == Kind::TextBox
                                                  ? L"-0,0199999999999996"
                                                  : widen(control.caption);
                    const Measured fits = measure(font->font.get(), text);
                    CHECK(fits.lineHeight <= room.cy);
                    if (control.kind != Kind::TextBox) {
                        CHECK(fits.width <= room.cx);
                    }
                }
            }
        }
    }
    REQUIRE(!measured.empty());
    std::string list;
    for (const auto& entry : measured) {
        list += entry + "; ";
    }
    MESSAGE("measured: ", list);
}

TEST_CASE("a DPI change: the suggested rectangle, live fonts of the new size, nothing leaked") {
    Win32Window w;
    auto* form = &w.form();
    const int start = form->dpi();
    const int other = start == 144 ? 96 : 144;
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const MessageLog label(form->control("Label20"));
    const MessageLog box(form->control("Text29"));
    const MessageLog button(form->control("Command35"));
    for (int change = 1; change <= 20; ++change) {
        CAPTURE(change);
        const int dpi = change % 2 == 1 ? other : start;
        // Not where the window is, and a few pixels larger than it needs.
        RECT suggested = frameAt(30 + change, 20 + 2 * change, dpi);
        suggested.right += 3;
        suggested.bottom += 2;
        changeDpi(*form, dpi, suggested);
        REQUIRE(form->dpi() == dpi);
        RECT now{};
        GetWindowRect(form->window(), &now);
        CHECK(EqualRect(&now, &suggested) != FALSE);
        for (const auto& control : app::controls) {
            HFONT font = fontOf(form->control(control.name));
            LOGFONTW logFont{};
            REQUIRE_MESSAGE(GetObjectType(font) == OBJ_FONT, control.name);
            REQUIRE(GetObjectW(font, sizeof(logFont), &logFont) == sizeof(logFont));
            const bool unitName = control.kind == Kind::Label && control.page != 0;
            CHECK(logFont.lfHeight ==
                  -app::fontPixels(unitName ? app::kLabelFont : app::kWindowFont, dpi));
        }
    }
    CHECK(form->dpi() == start);
    for (const MessageLog* watch : {&label, &box, &button}) {
        CHECK(watch->count(WM_SETFONT) == 20);
        CHECK(watch->heldFontWasGone == 0);
    }
    CHECK(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) == gdiBefore);
    CHECK(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) == userBefore);
}

}  // namespace qimbar::testing
