#pragma once

#include "convert/model.h"

namespace qimbar::convert::temperature {

inline constexpr std::array<UnitRow, 4> rows{{
    {6, 1, "Selsiy", 34, 43},
    {6, 2, "Kelvin", 35, 44},
    {6, 3, "Farengeyt", 36, 45},
    {6, 4, "Reomyur", 37, 46},
}};

// Affine rules with the rounded constants as they stand: 273, not 273.15;
// "Farengeyt" to "Kelvin" multiplies by 0.55, to "Selsiy" by 0.555.
inline constexpr std::array<RuleEntry, 12> rules{{
    {1, 2, {1, 273}},
    {1, 3, {1.8, 32}},
    {1, 4, {0.8, 0}},
    {2, 1, {1, -273}},
    {2, 3, {1.8, -459.4}},
    {2, 4, {0.8, -218.4}},
    {3, 1, {0.555, -17.78}},
    {3, 2, {0.55, 255.2}},
    {3, 4, {0.445, -14.22}},
    {4, 1, {1.25, 0}},
    {4, 2, {1.25, 273}},
    {4, 3, {2.25, 32}},
}};

static_assert(isRowLayout(rows, 6));
static_assert(rules.size() == 12);
static_assert(isTableLayout(rules, 4));

inline constexpr Page page{6, "Harorat", rows, ConversionTable{rules, 4}};

}  // namespace qimbar::convert::temperature
