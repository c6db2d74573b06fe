// What only the Win32 shell has: the fonts and what fits in them at any DPI,
// the manifest in force, Windows 7's fallbacks, a DPI change, high contrast
// and colour changes, painting, the tooltips and what a screen reader is
// told, Enter on a button, failures that must not end the program, and a
// start that makes only what the first look needs.
#include "app/colour.h"
#include "app/unit_explanation.h"
#include "app/win32/error_display.h"
#include "app/win32/fonts.h"
#include "app/win32/form1.h"
#include "app/win32/newer_api.h"
#include "app/win32/unicode.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "tests/app/expected_layout.h"
#include "tests/app/text_fits.h"
#include "tests/app/win32/win32_test_main.h"
#include "tests/app/win32/win32_window.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using qimbar::app::Kind;
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

// What the message loop does between a person's steps, through the
// program's own pre-translation.
void settle(Form1& form) {
    MSG message{};
    for (int i = 0; i < 10000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE; ++i) {
        if (!form.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

std::wstring windowText(HWND window) {
    std::array<wchar_t, 256> text{};
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::string labelOf(const qimbar::convert::UnitRow& row) {
    return "Label" + std::to_string(row.label);
}

// A control's place in the window's client area.
RECT placeIn(HWND form, HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool isWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Text measured in a font, as a control draws it.
struct Measured {
    SIZE extent{};
    TEXTMETRICW metrics{};
};

Measured measure(HFONT font, const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    Measured measured;
    GetTextMetricsW(screen, &measured.metrics);
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &measured.extent);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return measured;
}

HFONT fontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// Where a caption's text must fit inside a control of that kind, `client`
// pixels in size, at `dpi`: a box's line in its client area, a button's
// caption inside its raised edge, a label's or the credit line's in the whole.
struct Room {
    int width;
    int height;
};

Room roomIn(Kind kind, SIZE client, int dpi) {
    if (kind == Kind::Button) {
        const int edgeX = qimbar::win32::systemMetric(SM_CXEDGE, dpi);
        const int edgeY = qimbar::win32::systemMetric(SM_CYEDGE, dpi);
        return {client.cx - 2 * edgeX, client.cy - 2 * edgeY};
    }
    return {client.cx, client.cy};
}

// The window's controls, top to bottom of the z-order, by name.
std::vector<std::string> zOrderOf(Form1& form) {
    std::map<HWND, std::string> names;
    for (const auto& control : qimbar::app::controls) {
        names[form.control(control.name)] = std::string(control.name);
    }
    std::vector<std::string> order;
    for (HWND child = GetWindow(form.window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto it = names.find(child);
        order.push_back(it != names.end() ? it->second : "(another window)");
    }
    return order;
}

// The z-order the window must have, from the keyboard order written out in
// the tests: each row's label just before its box, then the tab control and
// the credit line.
std::vector<std::string> expectedZOrder() {
    const auto all = qimbar::testing::expectedControls();
    std::vector<std::string> order;
    for (const std::string& name : qimbar::testing::keyboardOrder()) {
        if (name == "SSTab1" || name.starts_with("Label")) {
            continue;
        }
        const auto* control = qimbar::app::findControl(name);
        if (control->kind == Kind::TextBox && control->page != 0) {
            order.emplace_back(
                qimbar::app::rowControl(control->page, control->row, Kind::Label).name);
        }
        order.push_back(name);
    }
    order.emplace_back("SSTab1");
    order.emplace_back("Label1");
    return order;
}

// Every control at its place at the window's DPI.
void checkLayout(Form1& form) {
    const int dpi = form.dpi();
    RECT client{};
    GetClientRect(form.window(), &client);
    CHECK(client.right == qimbar::app::twipsToPixels(7335, dpi));
    CHECK(client.bottom == qimbar::app::twipsToPixels(6360, dpi));
    const RECT tab = placeIn(form.window(), form.tabControl());
    for (const auto& control : qimbar::app::controls) {
        CAPTURE(control.name);
        RECT place = placeIn(form.window(), form.control(control.name));
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
    GetClientRect(form.tabControl(), &strip);
    RECT first{};
    SendMessageW(form.tabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    for (WPARAM i = 1; i < 6; ++i) {
        RECT tabRect{};
        SendMessageW(form.tabControl(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tabRect));
        CHECK(tabRect.right - tabRect.left == first.right - first.left);
        CHECK(tabRect.top == first.top);
        if (i == 5) {
            CHECK(tabRect.right <= strip.right);
        }
    }
    CHECK(6 * (first.right - first.left) > strip.right * 9 / 10);  // they share the strip
    HWND arrows = FindWindowExW(form.tabControl(), nullptr, UPDOWN_CLASSW, nullptr);
    CHECK((arrows == nullptr || (GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE) == 0));
    CHECK(first.bottom - first.top == qimbar::app::twipsToPixels(520, dpi));
}

// The window's frame for a client area of the described size at `dpi`,
// placed at `left`, `top`.
RECT frameAt(int left, int top, int dpi) {
    RECT frame{0, 0, qimbar::app::twipsToPixels(7335, dpi), qimbar::app::twipsToPixels(6360, dpi)};
    AdjustWindowRectExForDpi(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             FALSE, 0, static_cast<UINT>(dpi));
    OffsetRect(&frame, left - frame.left, top - frame.top);
    return frame;
}

void changeDpi(Form1& form, int dpi, const RECT& suggested) {
    SendMessageW(form.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
}

// The pixels of a control's client area that are neither of two colours.
std::vector<COLORREF> pixelsOf(HWND control) {
    UpdateWindow(GetParent(control));
    UpdateWindow(control);
    HDC dc = GetDC(control);
    RECT client{};
    GetClientRect(control, &client);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            pixels.push_back(GetPixel(dc, x, y));
        }
    }
    ReleaseDC(control, dc);
    return pixels;
}

// Records the messages a control gets, while it lives.
class MessageLog {
public:
    explicit MessageLog(HWND window) : window_(window) {
        SetWindowSubclass(window_, record, 7, reinterpret_cast<DWORD_PTR>(this));
    }
    ~MessageLog() { RemoveWindowSubclass(window_, record, 7); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
    MessageLog(MessageLog&&) = delete;
    MessageLog& operator=(MessageLog&&) = delete;

    [[nodiscard]] int count(UINT message, std::optional<WPARAM> wParam = std::nullopt) const {
        return static_cast<int>(std::count_if(seen_.begin(), seen_.end(), [&](const auto& m) {
            return m.first == message && (!wParam || m.second == *wParam);
        }));
    }

private:
    static LRESULT CALLBACK record(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR /*id*/, DWORD_PTR self) {
        reinterpret_cast<MessageLog*>(self)->seen_.emplace_back(message, wParam);
        return DefSubclassProc(window, message, wParam, lParam);
    }

    HWND window_;
    std::vector<std::pair<UINT, WPARAM>> seen_;
};

// Whether, each time a control is given a new font, the one it held until
// then is still a font: a deleted one would be drawn with until then.
class FontWatch {
public:
    explicit FontWatch(HWND window) : window_(window) {
        SetWindowSubclass(window_, watch, 8, reinterpret_cast<DWORD_PTR>(this));
    }
    ~FontWatch() { RemoveWindowSubclass(window_, watch, 8); }
    FontWatch(const FontWatch&) = delete;
    FontWatch& operator=(const FontWatch&) = delete;
    FontWatch(FontWatch&&) = delete;
    FontWatch& operator=(FontWatch&&) = delete;

    int changes = 0;
    int heldWasGone = 0;

private:
    static LRESULT CALLBACK watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR /*id*/, DWORD_PTR self) {
        if (message == WM_SETFONT) {
            auto* watch = reinterpret_cast<FontWatch*>(self);
            const auto held = reinterpret_cast<HGDIOBJ>(DefSubclassProc(window, WM_GETFONT, 0, 0));
            ++watch->changes;
            watch->heldWasGone += GetObjectType(held) == OBJ_FONT ? 0 : 1;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    HWND window_;
};

// The messages presses showed.
struct ShownErrors {
    std::vector<std::string> messages;
    qimbar::win32::ScopedErrorPresenter seam{
        [this](HWND, const std::wstring&, const std::wstring& message) {
            messages.push_back(narrow(message));
        }};
};

// Enter pressed (or held: `repeat`) on the focused control, through the
// program's loop.
void enter(Form1& form, bool repeat) {
    MSG message{};
    message.hwnd = GetFocus();
    message.message = WM_KEYDOWN;
    message.wParam = VK_RETURN;
    message.lParam = static_cast<LPARAM>(1U | (0x1CU << 16U) | (repeat ? 1U << 30U : 0U));
    if (!form.preTranslate(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    settle(form);
}

// An annotation service that remembers what it is told, for Wine, whose own
// keeps nothing that can be read back.
class RecordingAnnotations final : public IAccPropServices {
public:
    std::map<std::pair<HWND, std::wstring>, std::wstring> told;  // (window, property): text

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IAccPropServices) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return ++references_; }
    ULONG WINAPI Release() override { return --references_; }  // lives on the test's stack

    HRESULT WINAPI SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                  LPCWSTR text) override {
        if (object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF) {
            told[{window, nameOf(property)}] = text;
        }
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND window, DWORD, DWORD, const MSAAPROPID* properties,
                                  int count) override {
        for (int i = 0; i < count; ++i) {
            told.erase({window, nameOf(properties[i])});
        }
        return S_OK;
    }
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                 AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                     AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                      AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
        return E_NOTIMPL;
    }

private:
    static std::wstring nameOf(const MSAAPROPID& property) {
        if (property == PROPID_ACC_NAME) {
            return L"name";
        }
        if (property == PROPID_ACC_DESCRIPTION) {
            return L"description";
        }
        return L"other";
    }

    ULONG references_ = 1;
};

}  // namespace

TEST_CASE(
    "fonts: unit names in the first face that draws Cyrillic at 9.75 point, the rest 8 point") {
    auto form = openForm();
    struct Case {
        const char* name;
        HFONT font;
        const qimbar::app::FontDescription& description;
        BYTE charSet;
    };
    const Case cases[] = {
        {"label font", form->labelFont(), qimbar::app::kLabelFont, RUSSIAN_CHARSET},
        {"window font", form->windowFont(), qimbar::app::kWindowFont, DEFAULT_CHARSET},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        LOGFONTW font{};
        REQUIRE(GetObjectW(c.font, sizeof(font), &font) == sizeof(font));
        CHECK(font.lfHeight == -qimbar::app::fontPixels(c.description, form->dpi()));
        CHECK(font.lfWeight == FW_NORMAL);
        CHECK(font.lfCharSet == c.charSet);
        CHECK((font.lfItalic == 0 && font.lfUnderline == 0 && font.lfStrikeOut == 0));
        // The face realised is the first of the list this system has.
        std::wstring first;
        for (const std::string_view face : c.description.faces) {
            if (qimbar::win32::realise(c.description, widen(face), form->dpi())) {
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
    for (const auto& control : qimbar::app::controls) {
        CAPTURE(control.name);
        const bool unitName = control.kind == Kind::Label && control.page != 0;
        CHECK(fontOf(form->control(control.name)) ==
              (unitName ? form->labelFont() : form->windowFont()));
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
    CHECK(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()) ==
          DPI_AWARENESS_PER_MONITOR_AWARE);
    CHECK(GetACP() == CP_UTF8);
}

TEST_CASE("the layout follows the window's DPI") {
    auto form = openForm();
    CHECK(form->dpi() == static_cast<int>(GetDpiForWindow(form->window())));
    if (const char* expected = std::getenv("QIMBAR_EXPECT_DPI")) {
        REQUIRE(form->dpi() == std::atoi(expected));
    }
    checkLayout(*form);
}

TEST_CASE("without what Windows 7 lacks, the window finds its DPI and lays itself out") {
    // The fallbacks Windows 7 and 8.1 take: the screen's DPI from the device
    // context, and the frame from AdjustWindowRectEx.
    const qimbar::win32::ScopedNewerApi windows7({});
    qimbar::testing::Win32Window w;
    Form1* form = &w.form();
    HDC screen = GetDC(nullptr);
    const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    CHECK(form->dpi() == screenDpi);
    if (const char* expected = std::getenv("QIMBAR_EXPECT_DPI")) {
        REQUIRE(form->dpi() == std::atoi(expected));
    }
    checkLayout(*form);
    qimbar::testing::checkTextFits(w);
}

TEST_CASE("text fits its control at 96, 120, 144 and 192 DPI") {
    qimbar::testing::Win32Window w;
    for (const int dpi : {96, 120, 144, 192}) {
        CAPTURE(dpi);
        changeDpi(w.form(), dpi, frameAt(0, 0, dpi));
        REQUIRE(w.form().dpi() == dpi);
        qimbar::testing::checkTextFits(w);
    }
}

TEST_CASE("every listed face that the system has fits at 96, 120, 144 and 192 DPI") {
    // Whichever face a machine ends up with, the text fits: each face of the
    // list, at each size, measured from its own metrics against the controls
    // the description gives at that DPI.
    std::vector<std::string> measured;
    for (const int dpi : {96, 120, 144, 192}) {
        for (const auto* description : {&qimbar::app::kLabelFont, &qimbar::app::kWindowFont}) {
            for (const std::string_view face : description->faces) {
                const auto font = qimbar::win32::realise(*description, widen(face), dpi);
                if (!font) {
                    continue;  // not on this system, or not at this size
                }
                measured.push_back(std::string(face) + " " + std::to_string(dpi));
                for (const auto& control : qimbar::app::controls) {
                    const bool unitName = control.kind == Kind::Label && control.page != 0;
                    if ((description == &qimbar::app::kLabelFont) != unitName ||
                        control.kind == Kind::TabControl ||
                        (control.page == 0 && control.name != "Label1")) {
                        continue;
                    }
                    CAPTURE(face);
                    CAPTURE(dpi);
                    CAPTURE(control.name);
                    const auto size = qimbar::app::toPixels(control.geometry, dpi);
                    const int edge = control.kind == Kind::TextBox
                                         ? 2 * qimbar::win32::systemMetric(SM_CYEDGE, dpi)
                                         : 0;
                    const Room room = roomIn(control.kind, {size.width, size.height - edge}, dpi);
                    const std::wstring text = control.kind == Kind::TextBox
                                                  ? L"-0,0199999999999996"
                                                  : widen(control.caption);
                    const Measured fits = measure(font->font.get(), text);
                    CHECK(fits.metrics.tmHeight <= room.height);
                    if (control.kind != Kind::TextBox) {
                        CHECK(fits.extent.cx <= room.width);
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
    auto form = openForm();
    const int start = form->dpi();
    const int other = start == 144 ? 96 : 144;
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const FontWatch label(form->control("Label20"));
    const FontWatch box(form->control("Text29"));
    const FontWatch button(form->control("Command35"));
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
        for (const auto& control : qimbar::app::controls) {
            HFONT font = fontOf(form->control(control.name));
            LOGFONTW logFont{};
            REQUIRE_MESSAGE(GetObjectType(font) == OBJ_FONT, control.name);
            REQUIRE(GetObjectW(font, sizeof(logFont), &logFont) == sizeof(logFont));
            const bool unitName = control.kind == Kind::Label && control.page != 0;
            CHECK(logFont.lfHeight ==
                  -qimbar::app::fontPixels(
                      unitName ? qimbar::app::kLabelFont : qimbar::app::kWindowFont, dpi));
        }
    }
    CHECK(form->dpi() == start);
    for (const FontWatch* watch : {&label, &box, &button}) {
        CHECK(watch->changes == 20);
        CHECK(watch->heldWasGone == 0);
    }
    CHECK(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) == gdiBefore);
    CHECK(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) == userBefore);
}

TEST_CASE("pixels: the page in the button face, painted and printed; the credit line dark blue") {
    auto form = openForm();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    HWND tab = form->tabControl();
    UpdateWindow(form->window());
    const int dpi = form->dpi();
    // Left of the labels and below the last row of "Hajm": nothing but the page.
    const std::array<std::pair<int, int>, 3> onThePage{{{20, 100}, {40, 300}, {400, 350}}};
    HDC page = GetDC(tab);
    for (const auto& [x, y] : onThePage) {
        CAPTURE(x);
        CAPTURE(y);
        CHECK(GetPixel(page, MulDiv(x, dpi, 96), MulDiv(y, dpi, 96)) == face);
    }
    ReleaseDC(tab, page);

    // Printed, as a window is drawn into a picture of itself.
    RECT client{};
    GetClientRect(tab, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT all = client;
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                 PRF_CLIENT | PRF_ERASEBKGND);
    for (const auto& [x, y] : onThePage) {
        CAPTURE(x);
        CAPTURE(y);
        CHECK(GetPixel(memory, MulDiv(x, dpi, 96), MulDiv(y, dpi, 96)) == face);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    HWND credit = form->control("Label1");
    const auto pixels = pixelsOf(credit);
    const auto blue = std::count(pixels.begin(), pixels.end(), RGB(0, 0, 192));
    const auto other = std::count_if(pixels.begin(), pixels.end(), [](COLORREF pixel) {
        return GetRValue(pixel) != GetGValue(pixel);  // neither text nor a grey of the face
    });
    CHECK(blue > 20);
    CHECK(other == 0);
    RECT line{};
    GetClientRect(credit, &line);
    HDC dc = GetDC(credit);
    CHECK(GetPixel(dc, line.right - 1, line.bottom / 2) == face);  // opaque, past its text
    ReleaseDC(credit, dc);
}

TEST_CASE("high contrast and dark colours: the credit line can always be read") {
    auto form = openForm();
    HWND credit = form->control("Label1");
    const auto textPixels = [credit] {
        const auto pixels = pixelsOf(credit);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        std::vector<COLORREF> text;
        std::copy_if(pixels.begin(), pixels.end(), std::back_inserter(text),
                     [face](COLORREF pixel) { return pixel != face; });
        return text;
    };
    {
        // Wine cannot turn high contrast on: the window is told it is on.
        bool on = true;
        const qimbar::win32::ScopedHighContrast highContrast([&on] { return on; });
        SendMessageW(form->window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        const auto text = textPixels();
        REQUIRE(text.size() > 20);
        CHECK(std::count(text.begin(), text.end(), RGB(0, 0, 192)) == 0);
        CHECK(std::count(text.begin(), text.end(), GetSysColor(COLOR_BTNTEXT)) > 20);
        on = false;
        SendMessageW(form->window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        const auto again = textPixels();
        CHECK(std::count(again.begin(), again.end(), RGB(0, 0, 192)) > 20);
    }
    // A dark scheme without high contrast: dark blue on near-black would be
    // unreadable, so the credit takes the scheme's text colour.
    const std::array<int, 2> elements{COLOR_BTNFACE, COLOR_BTNTEXT};
    const std::array<COLORREF, 2> saved{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
    const std::array<COLORREF, 2> dark{RGB(32, 32, 32), RGB(230, 230, 230)};
    SetSysColors(2, elements.data(), dark.data());
    SendMessageW(form->window(), WM_SYSCOLORCHANGE, 0, 0);
    const auto text = textPixels();
    SetSysColors(2, elements.data(), saved.data());
    SendMessageW(form->window(), WM_SYSCOLORCHANGE, 0, 0);
    REQUIRE(text.size() > 20);
    const COLORREF brightest = *std::max_element(text.begin(), text.end(), [](auto a, auto b) {
        return GetGValue(a) + GetBValue(a) < GetGValue(b) + GetBValue(b);
    });
    const auto rgb = [](COLORREF c) {
        return qimbar::app::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
    };
    CHECK(qimbar::app::contrastRatio(rgb(brightest), rgb(dark[0])) >=
          qimbar::app::kReadableContrast);
}

TEST_CASE("colour and setting changes reach the common controls and bring new fonts") {
    auto form = openForm();
    const MessageLog tabs(form->tabControl());
    const MessageLog tooltips(form->tooltips());
    const MessageLog box(form->control("Text29"));
    SendMessageW(form->window(), WM_SYSCOLORCHANGE, 0, 0);
    CHECK(tabs.count(WM_SYSCOLORCHANGE) == 1);
    CHECK(tooltips.count(WM_SYSCOLORCHANGE) == 1);
    CHECK(box.count(WM_SYSCOLORCHANGE) == 1);

    for (const UINT change : {UINT{WM_SETTINGCHANGE}, UINT{WM_THEMECHANGED}}) {
        CAPTURE(change);
        HFONT before = form->windowFont();
        const int fontsSet = box.count(WM_SETFONT);
        SendMessageW(form->window(), change, SPI_SETNONCLIENTMETRICS, 0);
        CHECK(box.count(WM_SETFONT) == fontsSet + 1);
        CHECK(GetObjectType(fontOf(form->control("Text29"))) == OBJ_FONT);
        CHECK(fontOf(form->control("Text29")) == form->windowFont());
        CHECK(GetObjectType(before) != OBJ_FONT);  // the old one is gone
    }
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

TEST_CASE("the annotation service is told each button's name and each box's explanation") {
    RecordingAnnotations service;
    {
        const qimbar::win32::ScopedAnnotationService seam(
            [&service](const qimbar::win32::ComApartment&) {
                service.AddRef();
                return qimbar::win32::ComPtr<IAccPropServices>(&service);
            });
        auto form = openForm();
        for (const auto& page : qimbar::convert::pages) {
            for (const auto& row : page.rows) {
                CAPTURE(row.caption);
                HWND box = form->control("Text" + std::to_string(row.box));
                HWND button = form->control("Command" + std::to_string(row.box));
                CHECK(narrow(service.told[{box, L"description"}]) ==
                      qimbar::app::unitExplanation(page, row.row));
                CHECK(narrow(service.told[{button, L"name"}]) ==
                      "Hisoblash: " + std::string(row.caption));
            }
        }
        CHECK(narrow(service.told[{form->control("Text5"), L"description"}]) ==
              "1 Arshin = 0.7 Metr");
    }
    // Closed, the window takes back what it said.
    std::erase_if(service.told, [](const auto& entry) { return entry.second.empty(); });
    CHECK(service.told.empty());
}

TEST_CASE("a screen reader names each box by its label and each button by its unit") {
    // Wine's accessibility layer neither honours annotations nor names an edit
    // control by the label before it; on Windows both must hold.
    const bool wine = isWine();
    const auto textOf = [](HWND window, bool description) {
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                              __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&accessible)))) {
            return std::string("(no accessible object)");
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        const HRESULT got = description ? accessible->get_accDescription(self, &text)
                                        : accessible->get_accName(self, &text);
        accessible->Release();
        std::string result = SUCCEEDED(got) && text != nullptr ? narrow(text) : std::string();
        SysFreeString(text);
        return result;
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

            const std::string buttonName = textOf(button, false);
            const std::string explanation = textOf(box, true);
            if (wine && buttonName == "Hisoblash") {
                ++unannotated;
            } else {
                CHECK(buttonName == "Hisoblash: " + std::string(row.caption));
                CHECK(explanation == qimbar::app::unitExplanation(page, row.row));
            }
            const std::string boxName = textOf(box, false);
            if (wine && boxName != row.caption) {
                ++unnamedBoxes;
            } else {
                CHECK(boxName == row.caption);
            }
        }
    }
    if (unannotated + unnamedBoxes > 0) {
        MESSAGE("under Wine: ", unannotated, " buttons and boxes keep no annotation, ",
                unnamedBoxes, " boxes are not named by their label");
    }
}

TEST_CASE("Enter on a focused button clicks it as the button itself would") {
    const ShownErrors shown;
    auto form = openForm();
    SetWindowTextW(form->control("Text29"), L"1");
    HWND button = form->control("Command29");
    SetFocus(button);
    const MessageLog log(button);
    enter(*form, false);
    CHECK(narrow(windowText(form->control("Text30"))) == "1000");
    // The button went down and came up: its pressed look, and with it the
    // notifications its own click gives.
    CHECK(log.count(WM_LBUTTONDOWN) == 1);
    CHECK(log.count(BM_SETSTATE, TRUE) == 1);
    CHECK(log.count(WM_LBUTTONUP) == 1);
    CHECK(shown.messages.empty());
}

TEST_CASE("holding Enter down on a button shows one message, not a stack of them") {
    auto form = openForm();
    SetWindowTextW(form->control("Text29"), L"abc");
    SetFocus(form->control("Command29"));
    int shown = 0;
    int open = 0;
    int deepest = 0;
    const qimbar::win32::ScopedErrorPresenter seam(
        [&](HWND, const std::wstring&, const std::wstring&) {
            ++shown;
            deepest = std::max(deepest, ++open);
            // While the box is up the key goes on repeating, and is pressed anew.
            for (int i = 0; i < 5; ++i) {
                enter(*form, true);
            }
            enter(*form, false);
            --open;
        });
    enter(*form, false);
    for (int i = 0; i < 10; ++i) {
        enter(*form, true);
    }
    CHECK(shown == 1);
    CHECK(deepest == 1);
    enter(*form, false);  // let go and pressed again: a press again
    CHECK(shown == 2);
}

TEST_CASE("what fails inside the loop is reported or dropped, and the program goes on") {
    auto form = openForm();
    struct Throwing final : qimbar::platform::TextBox {
        qimbar::platform::Status readText(std::string&) override {
            throw std::runtime_error("no text");
        }
        qimbar::platform::Status writeText(std::string_view) override {
            throw std::runtime_error("no text");
        }
    };
    {
        // A box that throws: the press's message says so.
        const ShownErrors shown;
        form->boxes().replace(31, std::make_unique<Throwing>());
        SetWindowTextW(form->control("Text29"), L"1");
        SendMessageW(form->control("Command29"), BM_CLICK, 0, 0);
        settle(*form);
        CHECK(shown.messages == std::vector<std::string>{"Kutilmagan xatolik yuz berdi."});
        CHECK(narrow(windowText(form->control("Text30"))) == "1000");
    }
    {
        // A message box that fails, from a click and from Enter: nothing ends.
        const qimbar::win32::ScopedErrorPresenter failing(
            [](HWND, const std::wstring&, const std::wstring&) {
                throw std::runtime_error("no message box");
            });
        SendMessageW(form->control("Command29"), BM_CLICK, 0, 0);
        SetFocus(form->control("Command29"));
        enter(*form, false);
    }
    form->boxes().add(31, form->control("Text31"));
    const ShownErrors shown;
    SetWindowTextW(form->control("Text30"), L"2");
    SendMessageW(form->control("Command30"), BM_CLICK, 0, 0);
    settle(*form);
    CHECK(narrow(windowText(form->control("Text29"))) == "0.002");
    CHECK(shown.messages.empty());
}

TEST_CASE("a failure during start-up opens no message box") {
    const ShownErrors shown;
    const qimbar::win32::ScopedAnnotationService failing(
        [](const qimbar::win32::ComApartment&) -> qimbar::win32::ComPtr<IAccPropServices> {
            throw std::runtime_error("no annotation service");
        });
    auto form = openForm();
    CHECK(form->startedUp());
    CHECK(shown.messages.empty());
    SetWindowTextW(form->control("Text29"), L"1");
    SendMessageW(form->control("Command29"), BM_CLICK, 0, 0);
    settle(*form);
    CHECK(narrow(windowText(form->control("Text30"))) == "1000");
}

TEST_CASE("before the window is up only the first look is made; the rest follows in order") {
    const Form1 form({.instance = GetModuleHandleW(nullptr),
                      .showCommand = SW_SHOWNORMAL,
                      .endsProgram = false});
    // No message handled yet: the tab control, the credit line, "Hajm".
    for (const auto& control : qimbar::app::controls) {
        CAPTURE(control.name);
        const bool firstLook =
            control.page == 3 || control.name == "SSTab1" || control.name == "Label1";
        CHECK((form.control(control.name) != nullptr) == firstLook);
    }
    CHECK(IsWindowVisible(form.window()) != FALSE);
    CHECK(GetFocus() == form.tabControl());
}

TEST_CASE("a page chosen before the rest is made is made at once, in its place") {
    auto form = std::make_unique<Form1>(qimbar::win32::Form1Options{
        .instance = GetModuleHandleW(nullptr), .showCommand = SW_SHOWNORMAL, .endsProgram = false});
    // A click on "Uzunlik" before any idle time.
    RECT tab{};
    SendMessageW(form->tabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageW(form->tabControl(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form->tabControl(), WM_LBUTTONUP, 0, at);
    CHECK(form->currentPage() == 1);
    for (const auto& control : qimbar::app::controls) {
        CAPTURE(control.name);
        HWND window = form->control(control.name);
        if (control.page == 1) {
            REQUIRE(window != nullptr);
            CHECK(IsWindowVisible(window) != FALSE);
        } else if (control.page == 3) {
            CHECK(IsWindowVisible(window) == FALSE);
        } else if (control.page != 0) {
            CHECK(window == nullptr);
        }
    }
    CHECK(GetWindow(form->control("Text1"), GW_HWNDPREV) == form->control("Label2"));
    qimbar::testing::waitForStartUp(*form);
    REQUIRE(form->startedUp());
    CHECK(zOrderOf(*form) == expectedZOrder());
    CHECK(form->currentPage() == 1);
    for (const auto& control : qimbar::app::controls) {
        CAPTURE(control.name);
        CHECK((IsWindowVisible(form->control(control.name)) != FALSE) ==
              (control.page == 1 || control.name == "SSTab1" || control.name == "Label1"));
    }
}

TEST_CASE("the whole window, once up, stands in the described z-order") {
    auto form = openForm();
    CHECK(zOrderOf(*form) == expectedZOrder());
}
