// Painting: the page in the button face, the credit line in any colours,
// and what colour and setting changes bring.
#include "app/colour.h"
#include "tests/app/win32/shell_support.h"

#include <array>

namespace qimbar::testing {

TEST_CASE("pixels: the page in the button face, painted and printed; the credit line dark blue") {
    Win32Window w;
    auto* form = &w.form();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    CHECK(GetClassLongPtrW(form->window(), GCLP_HBRBACKGROUND) == COLOR_BTNFACE + 1);
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

TEST_CASE("inside the tab control's border each page is one surface in the button face") {
    Win32Window w;
    HWND tabs = w.form().tabControl();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int page = 1; page <= static_cast<int>(app::tabCaptions.size()); ++page) {
        CAPTURE(page);
        w.selectPage(page);
        UpdateWindow(w.form().window());
        const auto pixels = screenPixels(
            tabs, "page" + std::to_string(page) + "-" + std::to_string(w.form().dpi()));
        RECT client{};
        GetClientRect(tabs, &client);
        RECT shown{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page - 1),
                     reinterpret_cast<LPARAM>(&shown));
        const auto at = [&](int x, int y) {
            return pixels.at(static_cast<std::size_t>(y * client.right + x));
        };
        // Down the left, from under the tabs to the bottom, just inside a
        // border of one or two pixels: nothing but the page (the labels
        // start further in).
        const int inside = 2;
        int other = 0;
        for (int y = shown.bottom + inside; y < client.bottom - inside; ++y) {
            for (int x = inside; x < inside + 4; ++x) {
                other += at(x, y) == face ? 0 : 1;
            }
        }
        CHECK(other == 0);
        // The selected tab joins its page: no line or band below it (its
        // focus rectangle stands above its bottom).
        const int middle = (shown.left + shown.right) / 2;
        int gap = 0;
        for (int y = shown.bottom; y < shown.bottom + inside + 4; ++y) {
            gap += at(middle, y) == face ? 0 : 1;
        }
        CHECK(gap == 0);
    }
}

TEST_CASE("high contrast and dark colours: the credit line can always be read") {
    Win32Window w;
    auto* form = &w.form();
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
        const win32::ScopedHighContrast highContrast([&on] { return on; });
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
    const auto rgb = [](COLORREF c) { return app::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; };
    CHECK(app::contrastRatio(rgb(brightest), rgb(dark[0])) >= app::kReadableContrast);
}

TEST_CASE("colour changes reach the common controls; settings that change nothing cost nothing") {
    Win32Window w;
    auto* form = &w.form();
    const MessageLog tabs(form->tabControl());
    const MessageLog tooltips(form->tooltips());
    const MessageLog box(form->control("Text29"));
    SendMessageW(form->window(), WM_SYSCOLORCHANGE, 0, 0);
    CHECK(tabs.count(WM_SYSCOLORCHANGE) == 1);
    CHECK(tooltips.count(WM_SYSCOLORCHANGE) == 1);
    CHECK(box.count(WM_SYSCOLORCHANGE) == 1);
    CHECK(GetUpdateRect(form->tabControl(), nullptr, FALSE) != FALSE);  // repainted
    w.settle();

    const std::pair<UINT, WPARAM> changes[] = {{WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS},
                                               {WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER},
                                               {WM_THEMECHANGED, 0}};
    for (const auto& [message, what] : changes) {
        CAPTURE(message);
        HFONT before = form->windowFont();
        SendMessageW(form->window(), message, what, 0);
        CHECK(box.count(WM_SETFONT) == 0);
        CHECK(form->windowFont() == before);
        CHECK(fontOf(form->control("Text29")) == before);
        CHECK(GetUpdateRect(form->tabControl(), nullptr, FALSE) == FALSE);
    }
}

TEST_CASE("a page switch shows and hides its controls undrawn, then draws once") {
    Win32Window w;
    const MessageLog tabs(w.form().tabControl());
    const MessageLog box(w.form().control("Text1"));
    w.form().selectPage(1);
    for (const UINT drawn : {UINT{WM_NCPAINT}, UINT{WM_ERASEBKGND}, UINT{WM_PAINT}}) {
        CAPTURE(drawn);
        CHECK(tabs.count(drawn) == 0);
        CHECK(box.count(drawn) == 0);
    }
    w.settle();
    CHECK(tabs.count(WM_PAINT) == 1);
    CHECK(box.count(WM_PAINT) == 1);
}

}  // namespace qimbar::testing
