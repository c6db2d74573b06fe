#pragma once

#include "app/window_description.h"

namespace qimbar::app {

// WCAG 2's contrast ratio of two colours: 1 for one colour on itself, 21 for
// black on white.
[[nodiscard]] double contrastRatio(Rgb a, Rgb b);

// What WCAG 2 asks of text this size (level AA).
inline constexpr double kReadableContrast = 4.5;

// The credit line's text colour on `background`: its own dark blue where it
// can be read there, else `text`, the system's text colour for that
// background, else black or white, whichever stands out more.
[[nodiscard]] Rgb creditColourOn(Rgb background, Rgb text);

}  // namespace qimbar::app
