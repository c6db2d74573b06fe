#pragma once

#include "convert/model.h"

namespace qimbar::convert::area {

inline constexpr std::array<UnitRow, 4> rows{{
    {5, 1, "Kvadrat metr", 30, 39},
    {5, 2, "Gektar", 31, 40},
    {5, 3, "Ar (sotix)", 32, 41},
    {5, 4, "Akr", 33, 42},
}};

// Powers of ten are exact both ways; the acre pairs are rounded each way.
inline constexpr Matrix<4> multipliers{{
    // 1 Kvadrat metr
    {{none, 0.0001, 0.01, 0.0002471}},
    // 2 Gektar
    {{10000, none, 100, 2.471}},
    // 3 Ar (sotix)
    {{100, 0.01, none, 0.02471}},
    // 4 Akr
    {{4047, 0.4047, 40.47, none}},
}};

inline constexpr auto rules = factorRules(multipliers);

static_assert(isRowLayout(rows, 5));
static_assert(hasRulesOffDiagonalOnly(multipliers));
static_assert(rules.size() == 12);
static_assert(isTableLayout(rules, 4));

inline constexpr Page page{5, "Maydon", rows, ConversionTable{rules, 4}};

}  // namespace qimbar::convert::area
