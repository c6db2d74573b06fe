#include "app/win32/form1.h"

#include "app/colour.h"
#include "app/press.h"
#include "app/unit_explanation.h"
#include "app/win32/control_id.h"
#include "app/win32/error_display.h"
#include "app/win32/fonts.h"
#include "app/win32/newer_api.h"
#include "app/win32/unicode.h"
#include "convert/pages.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace qimbar::win32 {

using app::ControlDescription;
using app::controls;
using app::form1;
using app::kCreditIndex;
using app::Kind;
using app::Pixels;
using app::tabCaptions;
using app::twipsToPixels;

namespace {

constexpr wchar_t kWindowClass[] = L"QimbarBirliklariForm1";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                             WS_CLIPCHILDREN;  // fixed size: no maximize box, no sizing frame
constexpr DWORD kFormExStyle = 0;
constexpr UINT_PTR kFinishStartUp = 1;  // a timer: it fires once the queue is idle
constexpr int kProgramIcon = 1;         // the icon group of qimbar.rc

[[noreturn]] void throwCreateFailed(std::string_view what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW failed for " + std::string(what));
}

// What went wrong where no press was under way: there is no one to tell in a
// box (a paint or a timer must never open one), so it goes to the debugger.
// Called only while an exception is being handled.
void report(const char* where) noexcept {
    try {
        std::string text = std::string("Qimbar birliklari: ") + where;
        try {
            throw;
        } catch (const std::exception& error) {
            text += ": ";
            text += error.what();
        } catch (...) {
            text += ": an unknown error";
        }
        OutputDebugStringW(widen(text + "\n").c_str());
    } catch (...) {  // not even that: drop it
    }
}

bool isRowLabel(const ControlDescription& control) {
    return control.kind == Kind::Label && control.page != 0;
}

// Top to bottom: every control in the keyboard order, each row's label just
// before its box so a screen reader names the box by it; then the tab
// control, which a control above it would otherwise paint over; then the
// credit line, whose top row the tab control covers. The Tab cycle wraps, so
// the tab control at the bottom keeps its place in it.
std::vector<std::size_t> makeZOrder() {
    std::vector<const ControlDescription*> byTabIndex;
    for (const auto& control : controls) {
        if (control.kind != Kind::TabControl && app::indexOf(control) != kCreditIndex &&
            !isRowLabel(control)) {
            byTabIndex.push_back(&control);
        }
    }
    std::sort(byTabIndex.begin(), byTabIndex.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::size_t> order;
    for (const auto* control : byTabIndex) {
        if (control->kind == Kind::TextBox && control->page != 0) {
            order.push_back(
                app::indexOf(app::rowControl(control->page, control->row, Kind::Label)));
        }
        order.push_back(app::indexOf(*control));
    }
    order.push_back(app::kTabControlIndex);
    order.push_back(kCreditIndex);
    return order;
}

const std::vector<std::size_t>& zOrder() {
    static const std::vector<std::size_t> order = makeZOrder();
    return order;
}

COLORREF colorRef(app::Rgb colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

app::Rgb rgb(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    // The icons are the window's own, loaded at its DPI (WM_SETICON).
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "RegisterClassExW failed");
    }
}

void fillPage(HWND tabs, HDC dc) {
    RECT page{};
    GetClientRect(tabs, &page);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    FillRect(dc, &page, GetSysColorBrush(COLOR_BTNFACE));
}

// The tab control's page is the button face, as the labels on it are. Some
// tab controls (Wine's, themed or not) paint it white: the control paints
// into this paint's device context, and the inside of its border is painted
// over there, within the update region.
LRESULT CALLBACK paintPageInButtonFace(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR /*data*/) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_PAINT: {
            if (wParam != 0) {  // painting into a device context it was given
                const LRESULT painted = DefSubclassProc(window, message, wParam, lParam);
                fillPage(window, reinterpret_cast<HDC>(wParam));
                return painted;
            }
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window, &paint);
            // Common controls paint into the device context WM_PAINT carries.
            DefSubclassProc(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
            fillPage(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT: {
            const LRESULT printed = DefSubclassProc(window, message, wParam, lParam);
            fillPage(window, reinterpret_cast<HDC>(wParam));
            return printed;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, paintPageInButtonFace, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

ComPtr<IAccPropServices> systemAnnotationService(const ComApartment& com) {
    IAccPropServices* services = nullptr;
    if (FAILED(com.create(CLSID_AccPropServices, IID_IAccPropServices,
                          reinterpret_cast<void**>(&services)))) {
        return {};
    }
    return ComPtr<IAccPropServices>(services);
}

bool systemHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, contrast.cbSize, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

HighContrastQuery& highContrastQuery() {
    static HighContrastQuery query = systemHighContrast;
    return query;
}

AnnotationService& annotationService() {
    static AnnotationService service = systemAnnotationService;
    return service;
}

Form1::Form1(const Form1Options& options)
    : instance_(options.instance), endsProgram_(options.endsProgram) {
    registerWindowClass(instance_, &Form1::windowProc);
    const std::wstring title = widen(form1.caption);
    // Made hidden at the system's default place; sized once its DPI is known.
    if (CreateWindowExW(kFormExStyle, kWindowClass, title.c_str(), kFormStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_,
                        this) == nullptr) {
        throwCreateFailed("Form1");
    }
    dpi_ = dpiOf(window());
    highContrast_ = highContrastQuery()();
    fonts_ = fontsAt(dpi_);
    loadIcon(Icon::Small);  // the frame's; the task switcher's waits
    // Only what the first look needs: the tab control, the credit line and
    // the start page's rows. The rest waits until the window is up.
    createPage(form1.startPage);
    sizeFrame();
    ShowWindow(window(), options.showCommand);
    UpdateWindow(window());
    SetFocus(tabControl());
    // A timer's message comes only when no other, paints included, is waiting.
    SetTimer(window(), kFinishStartUp, USER_TIMER_MINIMUM, nullptr);
}

Form1::~Form1() = default;

HWND Form1::control(std::string_view name) const {
    const ControlDescription* control = app::findControl(name);
    return control == nullptr ? nullptr : controls_.at(app::indexOf(*control));
}

int Form1::currentPage() const {
    return static_cast<int>(SendMessageW(tabControl(), TCM_GETCURSEL, 0, 0)) + 1;
}

void Form1::selectPage(int page) {
    createPage(page);
    SendMessageW(tabControl(), TCM_SETCURSEL, static_cast<WPARAM>(page - 1), 0);
    showPage(page);
}

void Form1::createPage(int page) {
    // The first time, the tab control and the credit line come too.
    const bool first = controls_.at(app::kTabControlIndex) == nullptr;
    for (const std::size_t index : zOrder()) {
        if (controls.at(index).page == page ||
            (first && (index == app::kTabControlIndex || index == kCreditIndex))) {
            createControl(index);
        }
    }
}

void Form1::createControl(std::size_t index) {
    if (controls_.at(index) != nullptr) {
        return;
    }
    const ControlDescription& control = controls.at(index);
    const std::wstring caption = widen(control.caption);
    const bool onPage = control.page != 0;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* windowClass = WC_STATICW;
    switch (control.kind) {
        case Kind::TabControl:
            windowClass = WC_TABCONTROLW;
            style |= WS_TABSTOP | TCS_FIXEDWIDTH | TCS_FOCUSONBUTTONDOWN;
            break;
        case Kind::Label:
            // SS_NOTIFY: the label sees the pointer, so its tooltip shows.
            style |= SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | (onPage ? SS_NOTIFY : 0);
            break;
        case Kind::TextBox:
            windowClass = WC_EDITW;
            exStyle = WS_EX_CLIENTEDGE;
            style |= ES_LEFT | ES_AUTOHSCROLL | (onPage ? WS_TABSTOP : 0);
            break;
        case Kind::Button:
            windowClass = WC_BUTTONW;
            style |= BS_PUSHBUTTON | (onPage ? WS_TABSTOP : 0);
            break;
    }
    const bool tabsMade = controls_.at(app::kTabControlIndex) != nullptr;
    if (app::shownWithPage(control, tabsMade ? currentPage() : form1.startPage)) {
        style |= WS_VISIBLE;
    }
    const Pixels place = placeOf(control);
    HWND child = CreateWindowExW(exStyle, windowClass, caption.c_str(), style, place.left,
                                 place.top, place.width, place.height, window(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(index))),
                                 instance_, nullptr);
    if (child == nullptr) {
        throwCreateFailed(control.name);
    }
    // A new child goes to the bottom of the z-order. Made after a control
    // that stands below it, it goes just below the one before it, so the
    // keyboard order and the labels' naming hold in whatever order the
    // controls are made.
    const auto& order = zOrder();
    const auto made = [this](std::size_t i) { return controls_.at(i) != nullptr; };
    const auto rank = std::find(order.begin(), order.end(), index);
    if (rank != order.end() && std::any_of(std::next(rank), order.end(), made)) {
        const auto before = std::find_if(std::make_reverse_iterator(rank), order.rend(), made);
        SetWindowPos(child, before == order.rend() ? HWND_TOP : controls_.at(*before), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    controls_.at(index) = child;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);

    switch (control.kind) {
        case Kind::TabControl: {
            // The pages are button face, the colour the labels are painted
            // in, whatever the theme paints its pane in.
            SetWindowSubclass(child, paintPageInButtonFace, 1, 0);
            for (std::size_t i = 0; i < tabCaptions.size(); ++i) {
                std::wstring tab = widen(tabCaptions.at(i));
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = tab.data();
                SendMessageW(child, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
            sizeTabs();
            SendMessageW(child, TCM_SETCURSEL, static_cast<WPARAM>(form1.startPage - 1), 0);
            break;
        }
        case Kind::TextBox:
            SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // 0: as long as the system allows
            if (onPage) {
                boxes_.add(convert::page(control.page).row(control.row).box, child);
            }
            break;
        default:
            break;
    }
}

void Form1::finishStartUp() {
    // Done however it ends: a part that failed is not tried again.
    struct Done {
        bool& flag;
        ~Done() { flag = true; }
    } done{startedUp_};
    loadIcon(Icon::Big);
    for (const std::size_t index : zOrder()) {
        createControl(index);
    }
    createTooltips();
    annotate();
}

void Form1::createTooltips() {
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window(), nullptr, instance_, nullptr);
    if (tooltips_ == nullptr) {
        throwCreateFailed("tooltips");
    }
    for (const convert::Page& page : convert::pages) {
        for (const convert::UnitRow& row : page.rows) {
            std::wstring explanation = widen(app::unitExplanation(page, row.row));
            TOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window();
            tool.uId = reinterpret_cast<UINT_PTR>(
                controls_.at(app::indexOf(app::rowControl(page.number, row.row, Kind::Label))));
            tool.lpszText = explanation.data();  // copied by the control
            SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

void Form1::annotate() {
    // A screen reader names each box by the label just before it in the
    // z-order, which needs no annotation; it is told what the unit is, and
    // each button is named "Hisoblash: " and its unit.
    com_.emplace();
    annotations_ = annotationService()(*com_);
    if (!annotations_) {
        return;  // no annotation service here: the buttons keep their caption
    }
    for (const convert::Page& page : convert::pages) {
        for (const convert::UnitRow& row : page.rows) {
            const std::wstring name = L"Hisoblash: " + widen(row.caption);
            const std::wstring explanation = widen(app::unitExplanation(page, row.row));
            HWND button =
                controls_.at(app::indexOf(app::rowControl(page.number, row.row, Kind::Button)));
            HWND box =
                controls_.at(app::indexOf(app::rowControl(page.number, row.row, Kind::TextBox)));
            annotations_->SetHwndPropStr(button, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         PROPID_ACC_NAME, name.c_str());
            annotations_->SetHwndPropStr(box, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         PROPID_ACC_DESCRIPTION, explanation.c_str());
        }
    }
}

void Form1::clearAnnotations() {
    if (!annotations_) {
        return;
    }
    std::array<MSAAPROPID, 2> properties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    for (HWND child : controls_) {
        if (child != nullptr) {
            annotations_->ClearHwndProps(child, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         properties.data(), static_cast<int>(properties.size()));
        }
    }
}

HFONT Form1::fontOf(const ControlDescription& control) const {
    return isRowLabel(control) ? fonts_.label.get() : fonts_.window.get();
}

Pixels Form1::placeOf(const ControlDescription& control) const {
    Pixels place = app::toPixels(control.geometry, dpi_);
    if (control.page != 0 || control.kind == Kind::TextBox || control.kind == Kind::Button) {
        // Measured from the tab control's corner.
        const Pixels tab = app::toPixels(controls.at(app::kTabControlIndex).geometry, dpi_);
        place.left += tab.left;
        place.top += tab.top;
    }
    return place;
}

Form1::Fonts Form1::fontsAt(int dpi) {
    return {chooseFont(app::kLabelFont, dpi).font, chooseFont(app::kWindowFont, dpi).font};
}

void Form1::applyFonts() {
    // The new fonts are in every control before the old ones go.
    Fonts old = std::exchange(fonts_, fontsAt(dpi_));
    for (const ControlDescription& control : controls) {
        if (HWND child = controls_.at(app::indexOf(control))) {
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
        }
    }
}

void Form1::sizeTabs() {
    // Six equal tabs in one row: the widest that fit the strip. A row that
    // does not fit grows the scroll arrows (an up-down control), and what
    // fits depends on the tab control's own margins.
    HWND tabs = tabControl();
    const int pages = static_cast<int>(tabCaptions.size());
    const int height = twipsToPixels(form1.tabStripHeight, dpi_);
    RECT strip{};
    GetClientRect(tabs, &strip);
    for (int width = strip.right / pages; width > 0; --width) {
        SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
        HWND arrows = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
        // The style, not IsWindowVisible: the window may not be shown yet.
        if (arrows == nullptr || (GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE) == 0) {
            break;
        }
    }
}

void Form1::sizeFrame() {
    const int width = twipsToPixels(form1.clientWidth, dpi_);
    const int height = twipsToPixels(form1.clientHeight, dpi_);
    SIZE frame = frameSize(width, height, kFormStyle, kFormExStyle, dpi_);
    SetWindowPos(window(), nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame the system drew may differ from the one computed (a caption
    // at another DPI): make up the difference, so the client area is right.
    RECT client{};
    GetClientRect(window(), &client);
    if (client.right != width || client.bottom != height) {
        frame.cx += width - client.right;
        frame.cy += height - client.bottom;
        SetWindowPos(window(), nullptr, 0, 0, frame.cx, frame.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form1::loadIcon(Icon which) {
    // The size the frame (small) or the task switcher (big) shows at this
    // DPI; the old icon goes once the window holds the new one.
    const bool big = which == Icon::Big;
    UniqueIcon icon(
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                      systemMetric(big ? SM_CXICON : SM_CXSMICON, dpi_),
                                      systemMetric(big ? SM_CYICON : SM_CYSMICON, dpi_), 0)));
    if (!icon) {
        return;  // test programs carry no icon
    }
    SendMessageW(window(), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon.get()));
    std::swap(big ? bigIcon_ : smallIcon_, icon);
}

void Form1::applyDpi(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    applyFonts();
    for (const ControlDescription& control : controls) {
        if (HWND child = controls_.at(app::indexOf(control))) {
            const Pixels place = placeOf(control);
            SetWindowPos(child, nullptr, place.left, place.top, place.width, place.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    sizeTabs();
    loadIcon(Icon::Small);
    loadIcon(Icon::Big);
    SetWindowPos(window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form1::refreshLook() {
    highContrast_ = highContrastQuery()();
    applyFonts();
    sizeTabs();
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

COLORREF Form1::creditColour() const {
    // Under high contrast the system's own colours; elsewhere dark blue,
    // unless the button face is too dark for it to be read.
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    if (highContrast_) {
        return text;
    }
    return colorRef(app::creditColourOn(rgb(GetSysColor(COLOR_BTNFACE)), rgb(text)));
}

void Form1::showPage(int page) {
    // Only the pages' own controls change; the old page's go first.
    for (const bool show : {false, true}) {
        for (const ControlDescription& control : controls) {
            HWND child = controls_.at(app::indexOf(control));
            if (child != nullptr && control.page != 0 &&
                app::shownWithPage(control, page) == show) {
                ShowWindow(child, show ? SW_SHOWNA : SW_HIDE);
            }
        }
    }
    // A control of the page just hidden loses the focus to the tab strip.
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window(), focus) != FALSE && IsWindowVisible(focus) == FALSE) {
        SetFocus(tabControl());
    }
}

void Form1::onCommand(int id, int code) {
    if (code != BN_CLICKED || pressing_) {
        return;  // one press at a time, its message box included
    }
    const auto index = controlIndex(id);  // IDOK and IDCANCEL name no control: nothing to do
    if (!index) {
        return;
    }
    const ControlDescription& control = controls.at(*index);
    if (control.kind != Kind::Button || control.page == 0) {
        return;  // the spare buttons have no handler
    }
    const app::ScopedOverride<bool> pressing(pressing_, true);  // false again however it ends
    if (const auto message = app::pressRow(control.page, control.row, boxes_)) {
        showRunTimeError(window(), *message);
    }
}

bool Form1::takeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN) {
        return false;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (message.wParam == VK_TAB && ctrl) {
        const int pages = static_cast<int>(tabCaptions.size());
        const int step = shift ? pages - 1 : 1;
        selectPage((currentPage() - 1 + step) % pages + 1);
        return true;
    }
    if (message.wParam == VK_RETURN && !ctrl) {
        // Enter presses a focused row button as a click on it would, with its
        // pressed look and its notifications; with no default button, the
        // dialog manager would only send IDOK. A key held down repeats: only
        // its first stroke presses.
        HWND focus = GetFocus();
        const auto index = controlIndex(GetDlgCtrlID(focus));
        if (index && controls.at(*index).kind == Kind::Button &&
            IsChild(window(), focus) != FALSE) {
            const bool repeated = (static_cast<ULONG_PTR>(message.lParam) & (1U << 30U)) != 0;
            if (!repeated) {
                SendMessageW(focus, BM_CLICK, 0, 0);
            }
            return true;
        }
    }
    return false;
}

bool Form1::preTranslate(MSG& message) noexcept {
    HWND self = window();
    if (self == nullptr || (message.hwnd != self && IsChild(self, message.hwnd) == FALSE)) {
        return false;
    }
    try {
        return takeKey(message) || IsDialogMessageW(self, &message) != FALSE;
    } catch (...) {
        report("a key");
        return true;  // dropped, and the program goes on
    }
}

void Form1::rememberFocus() {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window(), focus) != FALSE) {
        lastFocus_ = focus;
    }
}

LRESULT CALLBACK Form1::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_.reset(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        (void)self->window_.release();  // the system has destroyed it
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // No exception may cross into the system's code, and none ends the
    // program. A press shows its own message; nothing else opens a box.
    try {
        return self->handle(message, wParam, lParam);
    } catch (...) {
        report("a window message");
    }
    return 0;
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = window();
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabControl() && header->code == TCN_SELCHANGE) {
                const int page = currentPage();
                createPage(page);
                showPage(page);
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            auto* dc = reinterpret_cast<HDC>(wParam);
            const bool credit = reinterpret_cast<HWND>(lParam) == controls_.at(kCreditIndex);
            SetTextColor(dc, credit ? creditColour() : GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                rememberFocus();
            } else if (lastFocus_ != nullptr && IsWindow(lastFocus_) != FALSE &&
                       IsWindowVisible(lastFocus_) != FALSE) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_TIMER:
            if (wParam == kFinishStartUp) {
                KillTimer(self, kFinishStartUp);
                finishStartUp();
            }
            return 0;
        case WM_DPICHANGED:
            applyDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SYSCOLORCHANGE:
            // Common controls learn of new colours only from their parent.
            for (HWND child : controls_) {
                if (child != nullptr) {
                    SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
                }
            }
            if (tooltips_ != nullptr) {
                SendMessageW(tooltips_, WM_SYSCOLORCHANGE, wParam, lParam);
            }
            refreshLook();
            return 0;
        case WM_SETTINGCHANGE:
        case WM_THEMECHANGED:
            refreshLook();
            break;
        case WM_DESTROY:
            clearAnnotations();
            if (endsProgram_) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(self, message, wParam, lParam);
}

}  // namespace qimbar::win32
