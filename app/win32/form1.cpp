// Form1: the window itself, its messages and its keys.
#include "app/win32/form1.h"

#include "app/press.h"
#include "app/row_view.h"
#include "app/win32/announcement.h"
#include "app/win32/control_id.h"
#include "app/win32/error_display.h"
#include "app/win32/form1_parts.h"
#include "app/win32/newer_api.h"
#include "app/win32/system_error.h"
#include "app/win32/unicode.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>
#include <string>

namespace qimbar::win32 {

using app::ControlDescription;
using app::controls;
using app::form1;
using app::kCreditIndex;
using app::Kind;
using app::tabCaptions;
using form1_parts::kFormExStyle;
using form1_parts::kFormStyle;

namespace {

constexpr wchar_t kWindowClass[] = L"QimbarBirliklariForm1";
constexpr UINT_PTR kFinishStartUp = 1;  // a timer: it fires once the queue is idle

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

void registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // A colour index plus one: a class may not be given a brush of
    // GetSysColorBrush's, which the system owns.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    // The icons are the window's own, loaded at its DPI (WM_SETICON).
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throwLastError("RegisterClassExW");
    }
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
        form1_parts::throwCreateFailed("Form1");
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
    made_ = true;
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

void Form1::onCommand(int id, int code) {
    const auto index = controlIndex(id);  // IDOK and IDCANCEL name no control: nothing to do
    if (!index) {
        return;
    }
    const ControlDescription& control = controls.at(*index);
    if (const app::RowView* row = app::rowOf(control); row != nullptr && row->box == &control) {
        HWND box = controls_.at(*index);
        if (code == EN_SETFOCUS) {
            showFocusTip(box);
        } else if (code == EN_KILLFOCUS && box == focusTip_) {
            hideFocusTip();
        }
        return;
    }
    if (code != BN_CLICKED || pressing_) {
        return;  // one press at a time, its message box included
    }
    if (control.kind != Kind::Button || control.page == 0) {
        return;  // the spare buttons have no handler
    }
    const app::ScopedOverride<bool> pressing(pressing_, true);  // false again however it ends
    const auto failure = app::pressRow(control.page, control.row, boxes_);
    if (!failure) {
        // Where the focus is, on the button: a reader hears what the press did.
        announce(controls_.at(*index), app::pressSummary(control.page, control.row, boxes_));
        return;
    }
    showRunTimeError(window(), failure->message);
    // Back to the box at fault, its text selected, ready to be corrected.
    const HWND box =
        failure->box == 0 ? nullptr : this->control("Text" + std::to_string(failure->box));
    if (box != nullptr && IsWindowVisible(box) != FALSE) {
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
    }
}

bool Form1::takeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN) {
        return false;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool next = message.wParam == VK_NEXT || (message.wParam == VK_TAB && !shift);
    const bool previous = message.wParam == VK_PRIOR || (message.wParam == VK_TAB && shift);
    if (ctrl && (next || previous)) {
        // The page is selected first, so that when the focus goes from the
        // page being hidden to the strip, the strip already names the new
        // tab. (Under Wine, TCM_SETCURFOCUS leaves the strip ignoring the
        // next click on a tab.)
        const int pages = static_cast<int>(tabCaptions.size());
        selectPage((currentPage() - 1 + (next ? 1 : pages - 1)) % pages + 1);
        return true;
    }
    if (message.wParam == VK_ESCAPE && focusTip_ != nullptr) {
        hideFocusTip();  // and nothing else: the window has no cancel button
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
            } else if (header->hwndFrom == tooltips_ && header->code == TTN_POP) {
                focusTipPopped(header->idFrom);
            }
            return 0;
        }
        case form1_parts::kRestoreFocusTip:
            restoreFocusTip();
            return 0;
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
            placeFocusTip();
            return 0;
        case WM_MOVE:
            placeFocusTip();  // a tip stands in screen coordinates
            break;
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
            refreshLook(LookChange::Colours);
            return 0;
        case WM_SETTINGCHANGE:
            refreshLook(wParam == SPI_SETNONCLIENTMETRICS || wParam == SPI_SETICONTITLELOGFONT
                            ? LookChange::Fonts
                            : LookChange::Other);
            break;
        case WM_THEMECHANGED:
        case WM_FONTCHANGE:
            refreshLook(LookChange::Fonts);
            break;
        case WM_DESTROY:
            clearAnnotations();
            // Not while the constructor fails: its caller has a message to
            // show, and a quit waiting would close that box at once.
            if (endsProgram_ && made_) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(self, message, wParam, lParam);
}

}  // namespace qimbar::win32
