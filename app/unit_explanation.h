#pragma once

#include "convert/model.h"

#include <string>

namespace qimbar::app {

// What a row's unit is, told in the page's first unit, from the page's own
// rule: "1 Arshin = 0.7 Metr", "Selsiy = Farengeyt × 0.555 − 17.78". The first
// row is told in the second: "1 Metr = 3.281 Fut", "Kelvin = Selsiy + 273".
[[nodiscard]] std::string unitExplanation(const convert::Page& page, int row);

}  // namespace qimbar::app
