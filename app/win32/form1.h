#pragma once

#include "app/box_table.h"
#include "app/scoped_override.h"
#include "app/win32/com.h"
#include "app/win32/handles.h"
#include "app/win32/win32_text_box.h"
#include "app/window_description.h"

#include <windows.h>

#include <oleacc.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qimbar::win32 {

struct Form1Options {
    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWNORMAL;
    bool endsProgram = true;  // closing the window ends the message loop
};

// Whether high contrast is on: the system's setting, asked again whenever the
// system says its settings changed. Tests stand in for the system, since
// Wine cannot turn it on.
using HighContrastQuery = std::function<bool()>;
[[nodiscard]] HighContrastQuery& highContrastQuery();
using ScopedHighContrast = app::ScopedSlotOverride<HighContrastQuery, highContrastQuery>;

// Where the window gets the annotation service that tells screen readers
// what a control is: the system's. Tests stand in for it, since Wine's keeps
// nothing that can be read back.
using AnnotationService = std::function<ComPtr<IAccPropServices>(const ComApartment&)>;
[[nodiscard]] AnnotationService& annotationService();
using ScopedAnnotationService = app::ScopedSlotOverride<AnnotationService, annotationService>;

// The one window, native: the tab control with its six pages of rows and the
// credit line, all built from the window description. Before it shows, only
// what the first look needs is made; the rest follows once the window is up.
// Closing it destroys it.
class Form1 {
public:
    explicit Form1(const Form1Options& options);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    Form1(Form1&&) = delete;
    Form1& operator=(Form1&&) = delete;

    [[nodiscard]] HWND window() const { return window_.get(); }
    // The control of that name in the description; null while not yet made.
    [[nodiscard]] HWND control(std::string_view name) const;
    [[nodiscard]] HWND tabControl() const { return controls_.at(app::kTabControlIndex); }
    [[nodiscard]] HWND tooltips() const { return tooltips_; }
    // Every control made, with its tooltip and screen-reader annotations.
    [[nodiscard]] bool startedUp() const { return startedUp_; }
    [[nodiscard]] HFONT labelFont() const { return fonts_.label.get(); }
    [[nodiscard]] HFONT windowFont() const { return fonts_.window.get(); }
    [[nodiscard]] int dpi() const { return dpi_; }

    [[nodiscard]] int currentPage() const;
    void selectPage(int page);

    // The keys the window takes before any control or the dialog manager:
    // Ctrl+Tab and Ctrl+PageDown, Ctrl+Shift+Tab and Ctrl+PageUp, Enter on
    // a focused button, Esc while a box's explanation shows by it, then the
    // dialog manager's Tab walk. True when `message` has been handled.
    // Nothing that goes wrong here ends the program.
    bool preTranslate(MSG& message) noexcept;

    // The value boxes the presses read and write; tests put a failing one in.
    [[nodiscard]] app::BoxTable<Win32TextBox>& boxes() { return boxes_; }

private:
    struct Fonts {
        UniqueFont label;
        UniqueFont window;
    };

    [[nodiscard]] static Fonts fontsAt(int dpi);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool takeKey(const MSG& message);

    void createControl(std::size_t index);
    void createPage(int page);
    void finishStartUp();
    void createTooltips();
    void addFocusTip(HWND box, std::wstring& explanation);
    void showFocusTip(HWND box);
    void hideFocusTip();
    void placeFocusTip();
    void focusTipPopped(UINT_PTR tool);
    void restoreFocusTip();
    void annotate();
    void tell(HWND control, const MSAAPROPID& property, const std::wstring& text);
    void clearAnnotations();
    [[nodiscard]] HFONT fontOf(const app::ControlDescription& control) const;
    [[nodiscard]] app::Pixels placeOf(const app::ControlDescription& control) const;
    void applyFonts(Fonts fonts);
    void sizeTabs();
    void sizeFrame();
    void fitClientArea();
    enum class Icon { Small, Big };
    void loadIcon(Icon which);
    void applyDpi(int dpi, const RECT& suggested);
    // What a system broadcast said changed: the colours, what the fonts
    // depend on, or something that may have turned high contrast on or off.
    enum class LookChange { Colours, Fonts, Other };
    void refreshLook(LookChange change);
    void showPage(int page);
    void unpressOtherTabs(int page);
    void onCommand(int id, int code);
    void rememberFocus();
    [[nodiscard]] COLORREF creditColour() const;

    HINSTANCE instance_;
    bool endsProgram_;
    std::array<HWND, app::controls.size()> controls_{};  // children: owned by the window
    HWND tooltips_ = nullptr;                            // owned by the window
    HWND focusTip_ = nullptr;                            // the box whose explanation shows by it
    bool made_ = false;                                  // the constructor has returned
    bool startedUp_ = false;
    bool pressing_ = false;  // a press, and the message it may show, under way
    bool highContrast_ = false;
    int dpi_ = app::kDefaultDpi;
    Fonts fonts_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    HWND lastFocus_ = nullptr;
    std::optional<ComApartment> com_;
    ComPtr<IAccPropServices> annotations_;
    app::BoxTable<Win32TextBox> boxes_;
    // Last, so it goes first: the window and its children, while the fonts,
    // icons and the rest they use are still there.
    UniqueWindow window_;
};

}  // namespace qimbar::win32
