#include "app/colour.h"

#include <algorithm>
#include <cmath>

namespace qimbar::app {

namespace {

double linear(std::uint8_t channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(Rgb colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

}  // namespace

double contrastRatio(Rgb a, Rgb b) {
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

Rgb creditColourOn(Rgb background, Rgb text) {
    for (const Rgb candidate : {kCreditColour, text}) {
        if (contrastRatio(candidate, background) >= kReadableContrast) {
            return candidate;
        }
    }
    constexpr Rgb black{0, 0, 0};
    constexpr Rgb white{255, 255, 255};
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

}  // namespace qimbar::app
