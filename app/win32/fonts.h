#pragma once

#include "app/win32/handles.h"
#include "app/window_description.h"

#include <optional>
#include <string>
#include <string_view>

namespace qimbar::win32 {

struct ChosenFont {
    UniqueFont font;
    std::wstring face;  // the face the system realised
};

// The font of the description in `face` at `dpi`, if the system has that face
// in the description's character set and, for a bitmap face, at that size.
[[nodiscard]] std::optional<ChosenFont> realise(const app::FontDescription& description,
                                                std::wstring_view face, int dpi);

// The first of the description's faces the system realises; the system's
// choice for the last one if none is.
[[nodiscard]] ChosenFont chooseFont(const app::FontDescription& description, int dpi);

}  // namespace qimbar::win32
