#pragma once

#include "app/window_description.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace qimbar::win32 {

// A control's Win32 ID: 100 plus its place in the window description, so
// that IDOK and IDCANCEL (1 and 2), which the dialog manager sends for Enter
// and Esc, never name a control.
inline constexpr int kFirstControlId = 100;

constexpr int controlId(std::size_t index) {
    return kFirstControlId + static_cast<int>(index);
}

constexpr std::optional<std::size_t> controlIndex(int id) {
    if (id < kFirstControlId || id >= controlId(app::controls.size())) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(id - kFirstControlId);
}

// The ID of the named control, or none.
constexpr std::optional<int> controlIdOf(std::string_view name) {
    if (app::findControl(name) == nullptr) {
        return std::nullopt;
    }
    return controlId(app::indexOfControl(name));
}

static_assert(controlIdOf("SSTab1") == 100 && controlIndex(1) == std::nullopt);

}  // namespace qimbar::win32
