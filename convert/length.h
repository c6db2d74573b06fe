#pragma once

#include "convert/model.h"

namespace qimbar::convert::length {

inline constexpr std::array<UnitRow, 10> rows{{
    {1, 1, "Metr", 2, 1},
    {1, 2, "Fut", 3, 2},
    {1, 3, "Yard", 4, 3},
    {1, 4, "Dyuym", 5, 4},
    {1, 5, "Arshin", 6, 5},
    {1, 6, "Sajen", 7, 6},
    {1, 7, "Dengiz mili", 8, 7},
    {1, 8, "Quruqyo'l mili", 9, 8},
    {1, 9, "Qadimgi rus mili", 10, 9},
    {1, 10, "Versta", 11, 10},
}};

// Each pair has its own coefficient, rounded by itself: a rule and its reverse
// need not multiply to 1.
inline constexpr Matrix<10> multipliers{{
    // 1 Metr
    {{none, 3.281, 1.094, 40, 1.429, 0.4762, 0.0005405, 0.000625, 0.0001339, 0.0009372}},
    // 2 Fut
    {{0.3048, none, 0.3333, 12.19, 0.4354, 0.1451, 0.0001648, 0.0001905, 0.0000408, 0.0002857}},
    // 3 Yard
    {{0.9144, 3, none, 36.58, 1.306, 0.4354, 0.0004943, 0.0005715, 0.0001224, 0.000857}},
    // 4 Dyuym
    {{0.025, 0.08202, 0.02734, none, 0.03571, 0.0119, 0.00001351, 0.00001563, 0.000003347,
      0.00002343}},
    // 5 Arshin
    {{0.7, 2.297, 0.7655, 28, none, 0.3333, 0.0003784, 0.0004375, 0.00009371, 0.000656}},
    // 6 Sajen
    {{2.1, 6.89, 2.297, 84, 3, none, 0.001135, 0.001312, 0.0002811, 0.001968}},
    // 7 Dengiz mili
    {{1850, 6070, 2023, 74000, 2643, 881, none, 1.156, 0.2477, 1.734}},
    // 8 Quruqyo'l mili
    {{1600, 5249, 1750, 64000, 2286, 761.9, 0.8649, none, 0.2142, 1.5}},
    // 9 Qadimgi rus mili
    {{7470, 24510, 8169, 298800, 10670, 3557, 4.038, 4.669, none, 7.001}},
    // 10 Versta
    {{1067, 3501, 1167, 42680, 1524, 508.1, 0.5768, 0.6669, 0.1428, none}},
}};

inline constexpr auto rules = factorRules(multipliers);

static_assert(isRowLayout(rows, 1));
static_assert(hasRulesOffDiagonalOnly(multipliers));
static_assert(rules.size() == 90);
static_assert(isTableLayout(rules, 10));

inline constexpr Page page{1, "Uzunlik", rows, ConversionTable{rules, 10}};

}  // namespace qimbar::convert::length
