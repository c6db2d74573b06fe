#include "app/win32/form1.h"

#include "app/press.h"
#include "app/unit_explanation.h"
#include "app/win32/control_id.h"
#include "app/win32/error_display.h"
#include "app/win32/fonts.h"
#include "app/win32/unicode.h"
#include "convert/pages.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace qimbar::win32 {

using app::controls;
using app::form1;
using app::kCreditIndex;
using app::Kind;
using app::tabCaptions;
using app::twipsToPixels;

namespace {

constexpr wchar_t kWindowClass[] = L"QimbarBirliklariForm1";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                             WS_CLIPCHILDREN;  // fixed size: no maximize box, no sizing frame
constexpr DWORD kFormExStyle = 0;
constexpr COLORREF kCreditColour =
    RGB(app::kCreditColour.red, app::kCreditColour.green, app::kCreditColour.blue);
constexpr UINT_PTR kFinishStartUp = 1;  // a timer: it fires once the queue is idle

[[noreturn]] void throwCreateFailed(std::string_view what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW failed for " + std::string(what));
}

bool isRowLabel(const ControlDescription& control) {
    return control.kind == Kind::Label && control.page != 0;
}

// Top to bottom: every control in the keyboard order, each row's label just
// before its box so a screen reader names the box by it; then the tab
// control, which a control above it would otherwise paint over; then the
// credit line, whose top row the tab control covers. The Tab cycle wraps, so
// the tab control at the bottom keeps its place in it.
std::vector<std::size_t> zOrder() {
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

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    // The program's icon group is resource 1; test programs have none.
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "RegisterClassExW failed");
    }
}

// The tab control's page is the button face, as the labels on it are.
LRESULT CALLBACK paintPageInButtonFace(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR /*data*/) {
    if (message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    if (message == WM_PAINT) {
        // Some tab controls (Wine's, themed or not) paint the page white:
        // paint its inside over, within the border.
        const LRESULT painted = DefSubclassProc(window, message, wParam, lParam);
        RECT page{};
        GetClientRect(window, &page);
        SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
        HDC dc = GetDC(window);
        FillRect(dc, &page, GetSysColorBrush(COLOR_BTNFACE));
        ReleaseDC(window, dc);
        return painted;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, paintPageInButtonFace, id);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

UniqueFont messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0,
                                   static_cast<UINT>(dpi)) == FALSE) {
        return UniqueFont(CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH, L"Segoe UI"));
    }
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace

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
    dpi_ = static_cast<int>(GetDpiForWindow(window()));
    makeFonts();
    createControls();
    sizeFrame();
    ShowWindow(window(), options.showCommand);
    UpdateWindow(window());
    SetFocus(tabControl());
    // What the first look does not need waits until the window is up and the
    // queue is idle: a timer's message comes only when no other is waiting.
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
    SendMessageW(tabControl(), TCM_SETCURSEL, static_cast<WPARAM>(page - 1), 0);
    showPage(page);
}

void Form1::createControls() {
    // Made in z-order, top first: a new child window goes below its siblings.
    for (const std::size_t index : zOrder()) {
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
                style |=
                    SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | (onPage ? SS_NOTIFY : 0);
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
        if (app::shownWithPage(control, form1.startPage)) {
            style |= WS_VISIBLE;
        }
        const Pixels place = placeOf(control);
        HWND child = CreateWindowExW(
            exStyle, windowClass, caption.c_str(), style, place.left, place.top, place.width,
            place.height, window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(index))),
            instance_, nullptr);
        if (child == nullptr) {
            throwCreateFailed(control.name);
        }
        controls_.at(index) = child;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
        if (control.kind == Kind::TextBox) {
            SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // 0: as long as the system allows
            if (onPage) {
                boxes_.add(convert::page(control.page).row(control.row).box, child);
            }
        }
    }

    HWND tabs = tabControl();
    // Drawn without the theme, whose pane is white: the pages are button face,
    // the colour the labels are painted in.
    SetWindowTheme(tabs, L"", L"");
    SetWindowSubclass(tabs, paintPageInButtonFace, 1, 0);
    for (std::size_t i = 0; i < tabCaptions.size(); ++i) {
        std::wstring caption = widen(tabCaptions.at(i));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    sizeTabs();
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(form1.startPage - 1), 0);
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

void Form1::nameButtonsForAssistiveTools() {
    // Each button is named "Hisoblash: " and its unit; a box is named by the
    // label just before it in the z-order, which needs no annotation.
    com_.emplace();
    IAccPropServices* services = nullptr;
    if (FAILED(com_->create(CLSID_AccPropServices, IID_IAccPropServices,
                            reinterpret_cast<void**>(&services)))) {
        return;  // no annotation service here: the buttons keep their caption
    }
    annotations_.reset(services);
    for (const convert::Page& page : convert::pages) {
        for (const convert::UnitRow& row : page.rows) {
            const std::wstring name = L"Hisoblash: " + widen(row.caption);
            HWND button =
                controls_.at(app::indexOf(app::rowControl(page.number, row.row, Kind::Button)));
            annotations_->SetHwndPropStr(button, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         PROPID_ACC_NAME, name.c_str());
        }
    }
}

void Form1::makeFonts() {
    labelFont_ = chooseFont(app::kLabelFont, dpi_).font;
    windowFont_ = messageFont(dpi_);
}

HFONT Form1::fontOf(const ControlDescription& control) const {
    return isRowLabel(control) ? labelFont_.get() : windowFont_.get();
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
    RECT frame{0, 0, width, height};
    AdjustWindowRectExForDpi(&frame, kFormStyle, FALSE, kFormExStyle, static_cast<UINT>(dpi_));
    int frameWidth = frame.right - frame.left;
    int frameHeight = frame.bottom - frame.top;
    SetWindowPos(window(), nullptr, 0, 0, frameWidth, frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame the system drew may differ from the one computed (a caption
    // still at the old DPI): make up the difference, so the client area is right.
    RECT client{};
    GetClientRect(window(), &client);
    if (client.right != width || client.bottom != height) {
        frameWidth += width - client.right;
        frameHeight += height - client.bottom;
        SetWindowPos(window(), nullptr, 0, 0, frameWidth, frameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form1::applyDpi(int dpi) {
    dpi_ = dpi;
    makeFonts();
    for (const ControlDescription& control : controls) {
        const Pixels place = placeOf(control);
        HWND child = controls_.at(app::indexOf(control));
        SetWindowPos(child, nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
    }
    sizeTabs();
    sizeFrame();
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form1::showPage(int page) {
    // Only the pages' own controls change; the old page's go first.
    for (const bool show : {false, true}) {
        for (const ControlDescription& control : controls) {
            if (control.page != 0 && app::shownWithPage(control, page) == show) {
                ShowWindow(controls_.at(app::indexOf(control)), show ? SW_SHOWNA : SW_HIDE);
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
    if (code != BN_CLICKED) {
        return;
    }
    const auto index = controlIndex(id);  // IDOK and IDCANCEL name no control: nothing to do
    if (!index) {
        return;
    }
    const ControlDescription& control = controls.at(*index);
    if (control.kind != Kind::Button || control.page == 0) {
        return;  // the spare buttons have no handler
    }
    if (const auto message = app::pressRow(control.page, control.row, boxes_)) {
        showRunTimeError(window(), *message);
    }
}

bool Form1::preTranslate(MSG& message) {
    HWND self = window();
    if (self == nullptr || (message.hwnd != self && IsChild(self, message.hwnd) == FALSE)) {
        return false;
    }
    if (message.message == WM_KEYDOWN) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        if (message.wParam == VK_TAB && ctrl) {
            const int pages = static_cast<int>(tabCaptions.size());
            const int step = shift ? pages - 1 : 1;
            selectPage((currentPage() - 1 + step) % pages + 1);
            return true;
        }
        if (message.wParam == VK_RETURN && !ctrl) {
            // Enter presses a focused row button, as Space does; with no
            // default button, the dialog manager would only send IDOK.
            HWND focus = GetFocus();
            const auto index = controlIndex(GetDlgCtrlID(focus));
            if (index && controls.at(*index).kind == Kind::Button &&
                IsChild(self, focus) != FALSE) {
                onCommand(controlId(*index), BN_CLICKED);
                return true;
            }
        }
    }
    return IsDialogMessageW(self, &message) != FALSE;
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
    // No exception may cross into the system's code.
    try {
        return self->handle(message, wParam, lParam);
    } catch (const std::exception& error) {
        showRunTimeError(window, error.what());
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
                showPage(currentPage());
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            auto* dc = reinterpret_cast<HDC>(wParam);
            const bool credit = reinterpret_cast<HWND>(lParam) == controls_.at(kCreditIndex);
            SetTextColor(dc, credit ? kCreditColour : GetSysColor(COLOR_BTNTEXT));
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
                createTooltips();
                nameButtonsForAssistiveTools();
            }
            return 0;
        case WM_DPICHANGED: {
            applyDpi(HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(self, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            if (annotations_) {
                for (HWND child : controls_) {
                    annotations_->ClearHwndProps(child, static_cast<DWORD>(OBJID_CLIENT),
                                                 CHILDID_SELF, &PROPID_ACC_NAME, 1);
                }
            }
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
