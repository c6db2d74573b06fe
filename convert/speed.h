#pragma once

#include "convert/model.h"

namespace qimbar::convert::speed {

inline constexpr std::array<UnitRow, 3> rows{{
    {4, 1, "Km/soat", 27, 36},
    {4, 2, "metr/sek", 28, 37},
    {4, 3, "Uzel", 29, 38},
}};

// No pair is an exact inverse of its reverse.
inline constexpr Matrix<3> multipliers{{
    // 1 Km/soat
    {{none, 0.2778, 0.54}},
    // 2 metr/sek
    {{3.6, none, 1.944}},
    // 3 Uzel
    {{1.852, 0.5144, none}},
}};

inline constexpr auto rules = factorRules(multipliers);

static_assert(isRowLayout(rows, 4));
static_assert(hasRulesOffDiagonalOnly(multipliers));
static_assert(rules.size() == 6);
static_assert(isTableLayout(rules, 3));

inline constexpr Page page{4, "Tezlik", rows, ConversionTable{rules, 3}};

}  // namespace qimbar::convert::speed
