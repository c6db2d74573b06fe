#pragma once

#include "app/win32/handles.h"

#include <array>
#include <string>
#include <string_view>

namespace qimbar::app {

// The unit labels' face in order of preference: the bitmap face the layout
// was drawn with, then the nearest TrueType sans-serif faces.
inline constexpr std::array<std::wstring_view, 4> kLabelFaces{
    L"MS Sans Serif", L"Microsoft Sans Serif", L"Arial", L"Liberation Sans"};

inline constexpr BYTE kLabelCharSet = RUSSIAN_CHARSET;  // 204, Cyrillic

// 9.75 point at `dpi`, in pixels.
[[nodiscard]] int labelFontPixels(int dpi);

struct LabelFont {
    UniqueFont font;
    std::wstring face;  // the face the system realised
};

// The first face of kLabelFaces that draws the Cyrillic character set at
// 9.75 point, regular; the system's choice for the last one if none does.
[[nodiscard]] LabelFont chooseLabelFont(int dpi);

}  // namespace qimbar::app
