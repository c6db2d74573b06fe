#pragma once

#include "app/win32/handles.h"
#include "app/window_description.h"

#include <string>

namespace qimbar::win32 {

// The character set a font of the description asks for.
[[nodiscard]] BYTE charSetOf(const app::FontDescription& description);

struct ChosenFont {
    UniqueFont font;
    std::wstring face;  // the face the system realised
};

// The first of the description's faces that the system realises under that
// name, in its character set and at its size, regular; the system's choice
// for the last one if none does.
[[nodiscard]] ChosenFont chooseFont(const app::FontDescription& description, int dpi);

}  // namespace qimbar::win32
