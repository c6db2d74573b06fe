#pragma once

#include "app/box_table.h"
#include "app/win32/com.h"
#include "app/win32/handles.h"
#include "app/win32/win32_text_box.h"
#include "app/window_description.h"

#include <windows.h>

#include <oleacc.h>

#include <array>
#include <memory>
#include <optional>
#include <string_view>

namespace qimbar::win32 {

using app::ControlDescription;
using app::Pixels;

struct Form1Options {
    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWNORMAL;
    bool endsProgram = true;  // closing the window ends the message loop
};

// The one window, native: the tab control with its six pages of rows and the
// credit line, all built from the window description. Closing it destroys it.
class Form1 {
public:
    explicit Form1(const Form1Options& options);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    Form1(Form1&&) = delete;
    Form1& operator=(Form1&&) = delete;

    [[nodiscard]] HWND window() const { return window_.get(); }
    // The control of that name in the description, or null.
    [[nodiscard]] HWND control(std::string_view name) const;
    [[nodiscard]] HWND tabControl() const { return controls_.at(app::kTabControlIndex); }
    // Made once the window is up, as are the buttons' screen-reader names.
    [[nodiscard]] HWND tooltips() const { return tooltips_; }
    [[nodiscard]] bool startedUp() const { return tooltips_ != nullptr; }
    [[nodiscard]] HFONT labelFont() const { return labelFont_.get(); }
    [[nodiscard]] int dpi() const { return dpi_; }

    [[nodiscard]] int currentPage() const;
    void selectPage(int page);

    // The keys the window takes before any control or the dialog manager:
    // Ctrl+Tab and Ctrl+Shift+Tab, Enter on a focused button, then the
    // dialog manager's Tab walk. True when `message` has been handled.
    bool preTranslate(MSG& message);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    void createTooltips();
    void nameButtonsForAssistiveTools();
    void makeFonts();
    [[nodiscard]] HFONT fontOf(const ControlDescription& control) const;
    [[nodiscard]] Pixels placeOf(const ControlDescription& control) const;
    void sizeTabs();
    void sizeFrame();
    void applyDpi(int dpi);
    void showPage(int page);
    void onCommand(int id, int code);
    void rememberFocus();

    HINSTANCE instance_;
    bool endsProgram_;
    std::array<HWND, app::controls.size()> controls_{};  // children: owned by the window
    HWND tooltips_ = nullptr;                            // owned by the window
    int dpi_ = app::kDefaultDpi;
    UniqueFont labelFont_;
    UniqueFont windowFont_;
    HWND lastFocus_ = nullptr;
    std::optional<ComApartment> com_;
    ComPtr<IAccPropServices> annotations_;
    app::BoxTable<Win32TextBox> boxes_;
    // Last, so it goes first: the window and its children, while the fonts
    // and the rest they use are still there.
    UniqueWindow window_;
};

}  // namespace qimbar::win32
