#include "app/unit_explanation.h"

#include "platform/number_text.h"

#include <algorithm>

namespace qimbar::app {

std::string unitExplanation(const convert::Page& page, int row) {
    const int reference = row == 1 ? 2 : 1;
    const auto rule = page.table.rule(row, reference);
    if (!rule) {
        return {};
    }
    const std::string unit(page.row(row).caption);
    const std::string other(page.row(reference).caption);
    const auto rules = page.table.rules();
    const bool plainFactors =
        std::all_of(rules.begin(), rules.end(),
                    [](const convert::RuleEntry& entry) { return entry.rule.offset == 0.0; });
    if (plainFactors) {
        return "1 " + unit + " = " + platform::formatNumber(rule->multiplier) + " " + other;
    }
    // A scale with offsets: the formula itself.
    std::string text = other + " = " + unit;
    if (rule->multiplier != 1.0) {
        text += " \u00D7 " + platform::formatNumber(rule->multiplier);
    }
    if (rule->offset > 0.0) {
        text += " + " + platform::formatNumber(rule->offset);
    } else if (rule->offset < 0.0) {
        text += " \u2212 " + platform::formatNumber(-rule->offset);
    }
    return text;
}

}  // namespace qimbar::app
