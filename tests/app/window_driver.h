#pragma once

// What the window's behaviour suite asks of a shell, with no toolkit in
// sight: each shell's driver answers it with its own window, so one suite
// holds every shell to the same behaviour.

#include "app/window_description.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qimbar::app {

inline std::ostream& operator<<(std::ostream& out, const Pixels& place) {
    return out << "(" << place.left << ", " << place.top << ") " << place.width << "x"
               << place.height;
}

}  // namespace qimbar::app

namespace qimbar::testing {

// Keys sent to the control that has the keyboard focus.
enum class Key {
    Tab,
    ShiftTab,
    Space,
    Enter,  // the main keyboard's
    KeypadEnter,
    Escape,
    CtrlTab,
    CtrlShiftTab,
    Left,
    Right,
};

// A message a press showed, as the user would have seen it.
struct ShownError {
    std::string title;
    std::string message;
    bool operator==(const ShownError&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ShownError& shown) {
    return out << shown.title << ": " << shown.message;
}

// How a control's text stands in it, in pixels, as the shell draws it: the
// room inside its frame or edge, the width its text takes there (none for a
// box) and the height of a line of its font.
struct TextRoom {
    int width = 0;
    int height = 0;
    int textWidth = 0;
    int lineHeight = 0;
};

class WindowDriver {
public:
    WindowDriver() = default;
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;
    WindowDriver(WindowDriver&&) = delete;
    WindowDriver& operator=(WindowDriver&&) = delete;
    virtual ~WindowDriver() = default;

    // The window.
    [[nodiscard]] virtual std::string title() = 0;
    [[nodiscard]] virtual app::Pixels clientArea() = 0;  // left and top are 0
    [[nodiscard]] virtual std::vector<std::string> tabCaptions() = 0;
    [[nodiscard]] virtual int currentPage() = 0;
    // As a person does it: a click on the page's tab.
    virtual void selectPage(int page) = 0;

    // Controls, by the names of the window description. Places are in pixels,
    // measured as the description measures them: `SSTab1` and `Label1` from
    // the client area, every other control from `SSTab1`'s corner.
    [[nodiscard]] virtual bool exists(std::string_view name) = 0;
    [[nodiscard]] virtual app::Kind kind(std::string_view name) = 0;
    [[nodiscard]] virtual std::string caption(std::string_view name) = 0;
    [[nodiscard]] virtual app::Pixels geometry(std::string_view name) = 0;
    [[nodiscard]] virtual bool visible(std::string_view name) = 0;

    // A box's text, set and read whole.
    [[nodiscard]] virtual std::string text(std::string_view name) = 0;
    virtual void setText(std::string_view name, std::string_view text) = 0;
    // The part of a box's text that is selected.
    [[nodiscard]] virtual std::string selectedText(std::string_view name) = 0;
    // Focuses the box and types `text` at its end, key by key.
    virtual void type(std::string_view name, std::string_view text) = 0;
    // Empties the box, then pastes `text` into it from the clipboard (Ctrl+V).
    virtual void paste(std::string_view name, std::string_view text) = 0;
    // A mouse click at the control's centre.
    virtual void click(std::string_view name) = 0;

    virtual void focus(std::string_view name) = 0;
    [[nodiscard]] virtual std::string focused() = 0;  // "SSTab1" for the tab strip
    virtual void key(Key key) = 0;

    // A control's text, or the caption of page `page`'s tab, in its room.
    [[nodiscard]] virtual TextRoom textRoom(std::string_view name) = 0;
    [[nodiscard]] virtual TextRoom tabTextRoom(int page) = 0;

    // Destroys a box's own window, as if the toolkit had lost it.
    virtual void destroy(std::string_view name) = 0;
    // What presses showed since last asked; no modal box is ever left open.
    [[nodiscard]] virtual std::vector<ShownError> takeErrors() = 0;
    // The process's resident memory; none where the shell cannot measure
    // its own (a page's memory is its browser's).
    [[nodiscard]] virtual std::optional<std::size_t> residentBytes() = 0;
    // The controls Tab visits on page `page`, after the tab strip: on the
    // desktop the window's fixed keyboard order (a web page's reading order
    // is its document's).
    [[nodiscard]] virtual std::vector<std::string> keyboardOrder(int page) {
        std::vector<const app::ControlDescription*> order;
        for (const auto& control : app::controls) {
            if (control.page == page && control.kind != app::Kind::Label) {
                order.push_back(&control);
            }
        }
        std::sort(order.begin(), order.end(),
                  [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
        std::vector<std::string> names;
        names.reserve(order.size());
        for (const auto* control : order) {
            names.emplace_back(control->name);
        }
        return names;
    }
    // Why the Tab cycle leaves the window after its last control, if it does
    // (a page's ends in its browser's own controls): one more Tab comes back.
    [[nodiscard]] virtual std::optional<std::string_view> tabLeavesWindow() { return std::nullopt; }
    // Why a key cannot reach the window through this shell, if it cannot.
    [[nodiscard]] virtual std::optional<std::string_view> cannotSend(Key /*key*/) {
        return std::nullopt;
    }

    // The longest text the suite should put in a box through this shell, for
    // the cases that test long input rather than a box's limit.
    [[nodiscard]] virtual std::size_t longestText() { return std::size_t{1} << 20U; }
};

// A new window of the shell under test, shown and active. Each shell's
// driver defines it.
[[nodiscard]] std::unique_ptr<WindowDriver> openWindow();

}  // namespace qimbar::testing
