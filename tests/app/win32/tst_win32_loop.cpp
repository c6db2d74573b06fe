// The program's loop: Enter on a button, failures that must not end the
// program, and a start that makes only what the first look needs.
#include "app/texts.h"
#include "app/win32/error_display.h"
#include "app/win32/system_error.h"
#include "app/win32/unicode.h"
#include "tests/app/win32/shell_support.h"
#include "tests/app/win32/win32_test_main.h"

#include <memory>
#include <stdexcept>

namespace qimbar::testing {

TEST_CASE("Enter on a focused button clicks it as the button itself would") {
    Win32Window w;
    auto* form = &w.form();
    SetWindowTextW(form->control("Text29"), L"1");
    HWND button = form->control("Command29");
    SetFocus(button);
    const MessageLog log(button);
    enter(w, false);
    CHECK(textOf(form->control("Text30")) == "1000");
    // The button went down and came up: its pressed look, and with it the
    // notifications its own click gives.
    CHECK(log.count(WM_LBUTTONDOWN) == 1);
    CHECK(log.count(BM_SETSTATE, TRUE) == 1);
    CHECK(log.count(WM_LBUTTONUP) == 1);
    CHECK(w.takeErrors().empty());
}

TEST_CASE("Ctrl+Tab, Ctrl+PageDown and back leave the focus on the tab strip, never the frame") {
    const struct {
        UINT key;
        bool shift;
        int to;
    } cases[] = {{VK_TAB, false, 4}, {VK_TAB, true, 2}, {VK_NEXT, false, 4}, {VK_PRIOR, false, 2}};
    Win32Window w;
    for (const auto& c : cases) {
        CAPTURE(c.key);
        CAPTURE(c.shift);
        w.selectPage(3);
        w.focus("Text29");
        MSG message{GetFocus(), WM_KEYDOWN, c.key, 1, 0, {}};
        {
            const Modifiers held(true, c.shift);
            w.deliver(message);
        }
        w.settle();
        CHECK(w.currentPage() == c.to);
        CHECK(w.focused() == "SSTab1");
    }
}

TEST_CASE("holding Enter down on a button shows one message, not a stack of them") {
    Win32Window w;
    auto* form = &w.form();
    SetWindowTextW(form->control("Text29"), L"abc");
    SetFocus(form->control("Command29"));
    int shown = 0;
    int open = 0;
    int deepest = 0;
    const win32::ScopedErrorPresenter seam([&](HWND, const std::wstring&, const std::wstring&) {
        ++shown;
        deepest = std::max(deepest, ++open);
        // While the box is up the key goes on repeating, and is pressed anew.
        for (int i = 0; i < 5; ++i) {
            enter(w, true);
        }
        enter(w, false);
        --open;
    });
    enter(w, false);
    for (int i = 0; i < 10; ++i) {
        enter(w, true);
    }
    CHECK(shown == 1);
    CHECK(deepest == 1);
    // The message left the focus in the box at fault: back to the button.
    SetFocus(form->control("Command29"));
    enter(w, false);  // let go and pressed again: a press again
    CHECK(shown == 2);
}

TEST_CASE("what fails inside the loop is reported or dropped, and the program goes on") {
    Win32Window w;
    auto* form = &w.form();
    struct Throwing final : platform::TextBox {
        platform::Status readText(std::string&) override { throw std::runtime_error("no text"); }
        platform::Status writeText(std::string_view) override {
            throw std::runtime_error("no text");
        }
    };
    {
        // A box that throws: the press's message says so.
        form->boxes().replace(31, std::make_unique<Throwing>());
        SetWindowTextW(form->control("Text29"), L"1");
        SendMessageW(form->control("Command29"), BM_CLICK, 0, 0);
        w.settle();
        CHECK(w.takeErrors() ==
              std::vector<ShownError>{{"Qimbar birliklari", std::string(app::texts::kUnexpected)}});
        CHECK(textOf(form->control("Text30")) == "1000");
    }
    {
        // A message box that fails, from a click and from Enter: nothing ends.
        const win32::ScopedErrorPresenter failing(
            [](HWND, const std::wstring&, const std::wstring&) {
                throw std::runtime_error("no message box");
            });
        SendMessageW(form->control("Command29"), BM_CLICK, 0, 0);
        SetFocus(form->control("Command29"));
        enter(w, false);
    }
    form->boxes().add(31, form->control("Text31"));
    SetWindowTextW(form->control("Text30"), L"2");
    SendMessageW(form->control("Command30"), BM_CLICK, 0, 0);
    w.settle();
    CHECK(textOf(form->control("Text29")) == "0.002");
    CHECK(w.takeErrors().empty());
}

TEST_CASE("a failure during start-up opens no message box") {
    const win32::ScopedAnnotationService failing(
        [](const win32::ComApartment&) -> win32::ComPtr<IAccPropServices> {
            throw std::runtime_error("no annotation service");
        });
    Win32Window w;
    auto* form = &w.form();
    CHECK(form->startedUp());
    CHECK(w.takeErrors().empty());
    SetWindowTextW(form->control("Text29"), L"1");
    SendMessageW(form->control("Command29"), BM_CLICK, 0, 0);
    w.settle();
    CHECK(textOf(form->control("Text30")) == "1000");
}

TEST_CASE("a window that fails to start leaves no quit waiting: the message about it stays up") {
    {
        const win32::ScopedHighContrast failing([]() -> bool { throw std::runtime_error("none"); });
        const auto open = [] {
            const Form1 form({.instance = GetModuleHandleW(nullptr), .endsProgram = true});
        };
        CHECK_THROWS(open());
    }
    MSG quit{};
    CHECK(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) == FALSE);
    // The system's words for a failure come whole, in its own language.
    const win32::SystemError error("CreateWindowExW", ERROR_NOT_ENOUGH_MEMORY);
    CHECK(error.text().starts_with(L"CreateWindowExW: "));
    CHECK(error.text().size() > std::wstring_view(L"CreateWindowExW: ").size() + 3);
    CHECK(error.text().find(L'\uFFFD') == std::wstring::npos);
    // Shown at start, it begins in Uzbek; the failure's words follow.
    for (const std::wstring& shown :
         {win32::startFailureText(error), win32::startFailureText(std::runtime_error("none"))}) {
        CHECK(shown.starts_with(win32::widen(qimbar::app::texts::kCannotStart)));
        CHECK((shown.ends_with(error.text()) || shown.ends_with(L"none")));
    }
}

TEST_CASE("before the window is up only the first look is made; the rest follows in order") {
    const Form1 form({.instance = GetModuleHandleW(nullptr),
                      .showCommand = SW_SHOWNORMAL,
                      .endsProgram = false});
    // No message handled yet: the tab control, the credit line, "Hajm".
    for (const auto& control : app::controls) {
        CAPTURE(control.name);
        const bool firstLook =
            control.page == 3 || control.name == "SSTab1" || control.name == "Label1";
        CHECK((form.control(control.name) != nullptr) == firstLook);
    }
    CHECK(IsWindowVisible(form.window()) != FALSE);
    CHECK(GetFocus() == form.tabControl());
}

TEST_CASE("a page chosen before the rest is made is made at once, in its place") {
    auto form = std::make_unique<Form1>(win32::Form1Options{
        .instance = GetModuleHandleW(nullptr), .showCommand = SW_SHOWNORMAL, .endsProgram = false});
    // A click on "Uzunlik" before any idle time.
    RECT tab{};
    SendMessageW(form->tabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageW(form->tabControl(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form->tabControl(), WM_LBUTTONUP, 0, at);
    CHECK(form->currentPage() == 1);
    for (const auto& control : app::controls) {
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
    waitForStartUp(*form);
    REQUIRE(form->startedUp());
    CHECK(zOrderOf(*form) == expectedZOrder());
    CHECK(form->currentPage() == 1);
    for (const auto& control : app::controls) {
        CAPTURE(control.name);
        CHECK((IsWindowVisible(form->control(control.name)) != FALSE) ==
              (control.page == 1 || control.name == "SSTab1" || control.name == "Label1"));
    }
}

TEST_CASE("the whole window, once up, stands in the described z-order") {
    Win32Window w;
    auto* form = &w.form();
    CHECK(zOrderOf(*form) == expectedZOrder());
}

}  // namespace qimbar::testing
