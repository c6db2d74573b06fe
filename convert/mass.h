#pragma once

#include "convert/model.h"

namespace qimbar::convert::mass {

inline constexpr std::array<UnitRow, 8> rows{{
    {2, 1, "Kilogramm", 12, 21},
    {2, 2, "Gramm", 13, 22},
    {2, 3, "Karat", 14, 23},
    {2, 4, "Unsiya", 15, 24},
    {2, 5, "Draxma", 16, 25},
    {2, 6, "Funt", 17, 26},
    {2, 7, "Pud", 18, 27},
    {2, 8, "Livr", 19, 28},
}};

// Each pair has its own coefficient, rounded by itself: a rule and its reverse
// need not multiply to 1, nor a chain of two rules equal the direct one.
inline constexpr Matrix<8> multipliers{{
    // 1 Kilogramm
    {{none, 1000, 5000, 35.27, 565, 2.439, 0.0625, 2.041}},
    // 2 Gramm
    {{0.001, none, 5, 0.03527, 0.565, 0.002439, 0.0000625, 0.002041}},
    // 3 Karat
    {{0.0002, 0.2, none, 0.007055, 0.113, 0.0004878, 0.0000125, 0.0004082}},
    // 4 Unsiya
    {{0.02835, 28.35, 141.7, none, 16.02, 0.06915, 0.001772, 0.05786}},
    // 5 Draxma
    {{0.00177, 1.77, 8.85, 0.06243, none, 0.004317, 0.0001106, 0.003612}},
    // 6 Funt
    {{0.41, 410, 2050, 14.46, 231.6, none, 0.02562, 0.8367}},
    // 7 Pud
    {{16, 16000, 80000, 564.4, 9040, 39.02, none, 32.65}},
    // 8 Livr
    {{0.49, 490, 2450, 17.28, 276.8, 1.195, 0.03062, none}},
}};

inline constexpr auto rules = factorRules(multipliers);

static_assert(isRowLayout(rows, 2));
static_assert(hasRulesOffDiagonalOnly(multipliers));
static_assert(rules.size() == 56);
static_assert(isTableLayout(rules, 8));

inline constexpr Page page{2, "Og'irlik", rows, ConversionTable{rules, 8}};

}  // namespace qimbar::convert::mass
