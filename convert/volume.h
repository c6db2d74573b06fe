#pragma once

#include "convert/model.h"

namespace qimbar::convert::volume {

inline constexpr std::array<UnitRow, 7> rows{{
    {3, 1, "Kub metr", 20, 29},
    {3, 2, "Litr", 21, 30},
    {3, 3, "Gallon", 22, 31},
    {3, 4, "Kvarta", 23, 32},
    {3, 5, "Pinta", 24, 33},
    {3, 6, "Bushel", 25, 34},
    {3, 7, "Barrel", 26, 35},
}};

// Each pair has its own coefficient, rounded by itself. "Kvarta" to "Pinta"
// is a factor of 2: the value added to itself, bit for bit.
inline constexpr Matrix<7> multipliers{{
    // 1 Kub metr
    {{none, 1000, 220.1, 880.3, 1761, 27.5, 6.289}},
    // 2 Litr
    {{0.001, none, 0.2201, 0.8803, 1.761, 0.0275, 0.006289}},
    // 3 Gallon
    {{0.004544, 4.544, none, 4, 8, 0.125, 0.02858}},
    // 4 Kvarta
    {{0.001136, 1.136, 0.25, none, 2, 0.03124, 0.007145}},
    // 5 Pinta
    {{0.000568, 0.568, 0.125, 0.5, none, 0.01562, 0.003572}},
    // 6 Bushel
    {{0.03636, 36.36, 8.002, 32.01, 64.01, none, 0.2287}},
    // 7 Barrel
    {{0.159, 159, 34.99, 140, 279.9, 4.373, none}},
}};

inline constexpr auto rules = factorRules(multipliers);

static_assert(isRowLayout(rows, 3));
static_assert(hasRulesOffDiagonalOnly(multipliers));
static_assert(rules.size() == 42);
static_assert(isTableLayout(rules, 7));

inline constexpr Page page{3, "Hajm", rows, ConversionTable{rules, 7}};

}  // namespace qimbar::convert::volume
