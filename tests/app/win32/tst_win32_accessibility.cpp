// What a person who does not see the window is told: the tooltips, the
// annotations and what the system's accessibility layer reads.
#include "app/press.h"
#include "app/unit_explanation.h"
#include "app/win32/announcement.h"
#include "convert/pages.h"
#include "tests/app/win32/shell_support.h"

#include <oleacc.h>

#include <array>

namespace qimbar::testing {

namespace {

std::string labelOf(const convert::UnitRow& row) {
    return "Label" + std::to_string(row.label);
}

// An annotation service that remembers what it is told, for Wine, whose own
// keeps nothing that can be read back.
class RecordingAnnotations final : public IAccPropServices {
public:
    std::map<std::pair<HWND, std::wstring>, std::wstring> told;  // (window, property): text
    std::wstring refuse;  // a property this service does not know

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
        if (nameOf(property) == refuse) {
            return E_INVALIDARG;  // as a Windows without that property answers
        }
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
        // UI Automation's FullDescription and HelpText properties.
        if (property ==
            GUID{0x0d4450ff, 0x6aef, 0x4f33, {0x95, 0xdd, 0x7b, 0xef, 0xa7, 0x2a, 0x43, 0x91}}) {
            return L"full description";
        }
        if (property ==
            GUID{0x08555685, 0x0977, 0x45c7, {0xa7, 0xa6, 0xab, 0xaf, 0x56, 0x84, 0x12, 0x1a}}) {
            return L"help text";
        }
        return L"other";
    }

    ULONG references_ = 1;
};

}  // namespace

TEST_CASE("each label's tooltip explains its unit, as the Qt shell's does") {
    Win32Window w;
    auto* form = &w.form();
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
    for (const auto& page : convert::pages) {
        for (const auto& row : page.rows) {
            CAPTURE(row.caption);
            CHECK(tooltipOf(form->control(labelOf(row))) == app::unitExplanation(page, row.row));
            ++tools;
        }
    }
    // and each box's, shown by it on focus
    CHECK(SendMessageW(form->tooltips(), TTM_GETTOOLCOUNT, 0, 0) == 2 * tools);
}

TEST_CASE("the annotation service is told each button's name and each box's explanation") {
    for (const std::wstring refused : {L"", L"full description"}) {
        CAPTURE(narrow(refused));
        RecordingAnnotations service;
        service.refuse = refused;
        {
            const win32::ScopedAnnotationService seam([&service](const win32::ComApartment&) {
                service.AddRef();
                return win32::ComPtr<IAccPropServices>(&service);
            });
            Win32Window w;
            for (const auto& page : convert::pages) {
                for (const auto& row : page.rows) {
                    CAPTURE(row.caption);
                    HWND box = w.form().control("Text" + std::to_string(row.box));
                    HWND button = w.form().control("Command" + std::to_string(row.box));
                    for (const std::wstring property :
                         {L"description", L"full description", L"help text"}) {
                        CHECK(narrow(service.told[{box, property}]) ==
                              (property == refused ? "" : app::unitExplanation(page, row.row)));
                    }
                    CHECK(narrow(service.told[{button, L"name"}]) ==
                          "Hisoblash: " + std::string(row.caption));
                }
            }
            CHECK(narrow(service.told[{w.form().control("Text5"), L"description"}]) ==
                  "1 Arshin = 0.7 Metr");
        }
        // Closed, the window takes back all it said.
        std::erase_if(service.told, [](const auto& entry) { return entry.second.empty(); });
        CHECK(service.told.empty());
    }
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
    Win32Window w;
    auto* form = &w.form();
    int unannotated = 0;
    int unnamedBoxes = 0;
    for (const auto& page : convert::pages) {
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
                CHECK(explanation == app::unitExplanation(page, row.row));
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

namespace {

// The text the tooltip control shows, as a screen reader reads it: its
// window's; empty while it shows none.
std::string shownTip(Form1& form) {
    return IsWindowVisible(form.tooltips()) != FALSE ? textOf(form.tooltips()) : std::string();
}

RECT placeOf(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return place;
}

}  // namespace

TEST_CASE("a box given the focus shows its explanation by it, until the focus goes or Esc") {
    Win32Window w;
    auto* form = &w.form();
    for (const Key away : {Key::Tab, Key::Escape}) {
        CAPTURE(static_cast<int>(away));
        w.focus("Command29");
        w.key(Key::Tab);
        REQUIRE(w.focused() == "Text29");
        CHECK(shownTip(*form) == app::unitExplanation(convert::page(3), 1));
        // Just below the box's row, from its right edge: over neither box.
        const RECT box = placeOf(form->control("Text29"));
        const RECT next = placeOf(form->control("Text30"));
        const RECT tip = placeOf(form->tooltips());
        CHECK((tip.left >= box.right && tip.left <= box.right + 2));
        CHECK((tip.top >= box.bottom && tip.top <= box.bottom + 2));
        RECT both{};
        CHECK((!IntersectRect(&both, &tip, &box) && !IntersectRect(&both, &tip, &next)));
        // It goes with the window: a tip stands on the screen.
        const RECT frame = placeOf(form->window());
        SetWindowPos(form->window(), nullptr, frame.left + 10, frame.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        CHECK(placeOf(form->tooltips()).left == tip.left + 10);
        w.key(away);
        CHECK(shownTip(*form).empty());
        CHECK((w.focused() == "Text29") == (away == Key::Escape));
    }
}

TEST_CASE("a label's hover tip, once gone, gives the focused box's explanation back") {
    Win32Window w;
    auto* form = &w.form();
    const auto pointAt = [&](HWND control, const std::string& tip) {
        const RECT place = placeOf(control);
        SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        MSG move{control, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4), 0, {}};
        w.deliver(move);
        for (int waited = 0; shownTip(*form) != tip && waited < 5000; waited += 20) {
            Sleep(20);
            w.settle();
        }
        return shownTip(*form);
    };
    w.focus("Command29");
    w.key(Key::Tab);
    const std::string other = app::unitExplanation(convert::page(3), 3);
    CHECK(pointAt(form->control(app::rowControl(3, 3, Kind::Label).name), other) == other);
    const std::string own = app::unitExplanation(convert::page(3), 1);
    CHECK(pointAt(form->control("Label1"), own) == own);  // the pointer has left the label
}

namespace {

std::vector<std::string> announced;  // what was said, how, and for what
HWND hostAsked = nullptr;
decltype(win32::UiAutomationApi::hostProviderFromHwnd) systemHost = nullptr;

HRESULT WINAPI recordHost(HWND window, IRawElementProviderSimple** provider) {
    hostAsked = window;
    return systemHost(window, provider);
}

HRESULT WINAPI recordNotification(IRawElementProviderSimple* provider, int kind, int processing,
                                  BSTR text, BSTR activity) {
    IRawElementProviderSimple* host = nullptr;
    CHECK(SUCCEEDED(provider->get_HostRawElementProvider(&host)));
    if (host != nullptr) {
        host->Release();
    }
    announced.push_back(narrow(text) + " " + std::to_string(kind) + std::to_string(processing) +
                        " " + narrow(activity));
    return S_OK;
}

}  // namespace

TEST_CASE("a press that converts is told to screen readers once, from its button") {
    Win32Window w;
    auto* form = &w.form();
    SetWindowTextW(form->control("Text29"), L"1");
    SendMessageW(form->control("Command29"), BM_CLICK, 0, 0);  // the first press looks them up
    // As this system has them: Wine 8 has no UiaRaiseNotificationEvent.
    const auto& system = win32::uiAutomationApi();
    const HMODULE core = GetModuleHandleW(L"uiautomationcore.dll");
    REQUIRE(core != nullptr);
    const auto address = [](auto function) { return reinterpret_cast<const void*>(function); };
    CHECK(address(system.raiseNotificationEvent) ==
          address(GetProcAddress(core, "UiaRaiseNotificationEvent")));
    systemHost = system.hostProviderFromHwnd;
    REQUIRE((address(systemHost) != nullptr && address(system.allocString) != nullptr));
    for (const bool raises : {true, false}) {
        CAPTURE(raises);
        auto api = system;
        api.hostProviderFromHwnd = recordHost;
        api.raiseNotificationEvent = raises ? recordNotification : nullptr;
        const win32::ScopedUiAutomationApi seam(api);
        announced.clear();
        hostAsked = nullptr;
        SetWindowTextW(form->control("Text29"), L"1");
        w.click("Command29");
        const std::string summary = app::pressSummary(3, 1, form->boxes());
        SetWindowTextW(form->control("Text29"), L"abc");
        w.click("Command29");  // fails: its message says it
        CHECK(w.takeErrors().size() == 1);
        // ActionCompleted (2), MostRecent (3); nothing where Windows cannot.
        CHECK(announced ==
              (raises ? std::vector{summary + " 23 qimbar.press"} : std::vector<std::string>{}));
        CHECK(hostAsked == (raises ? form->control("Command29") : nullptr));
    }
}

}  // namespace qimbar::testing
