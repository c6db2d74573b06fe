#pragma once

// No Windows header: the toolkit-free font table test holds the same rule.

#include <algorithm>
#include <array>

namespace qimbar::win32 {

// "MS Sans Serif" is a bitmap face. Of its strikes only the 8 and 10 point
// ones at 96 DPI, lines of 13 and 16 pixels, were drawn for controls like
// these; its larger ones (12 point's 20-pixel line, at 144 DPI the window
// font's size) overflow the boxes and buttons, so there the next face of the
// list is taken.
inline constexpr std::array<int, 2> kRasterLines{13, 16};

constexpr bool rasterLineDrawnFor(int lineHeight) {
    return std::find(kRasterLines.begin(), kRasterLines.end(), lineHeight) != kRasterLines.end();
}

}  // namespace qimbar::win32
