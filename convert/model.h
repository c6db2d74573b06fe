#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace qimbar::convert {

// target = source × multiplier + offset, as two rounded operations.
struct ConversionRule {
    double multiplier = 1.0;
    double offset = 0.0;
};

// One ordered pair of rows of a page with its rule.
struct RuleEntry {
    int source = 0;
    int target = 0;
    ConversionRule rule;
};

// For each source row, the rules to every other row in ascending target order,
// held as one list sorted by source, then target.
class ConversionTable {
public:
    constexpr ConversionTable(std::span<const RuleEntry> rules, int rowCount)
        : rules_(rules), rowCount_(rowCount) {}

    [[nodiscard]] constexpr int rowCount() const { return rowCount_; }
    [[nodiscard]] constexpr std::span<const RuleEntry> rules() const { return rules_; }

    // The targets of `source` (1-based) in the order they are written.
    [[nodiscard]] constexpr std::span<const RuleEntry> targetsOf(int source) const {
        const auto perSource = static_cast<std::size_t>(rowCount_ - 1);
        return rules_.subspan(static_cast<std::size_t>(source - 1) * perSource, perSource);
    }

    [[nodiscard]] constexpr std::optional<ConversionRule> rule(int source, int target) const {
        for (const RuleEntry& entry : targetsOf(source)) {
            if (entry.target == target) {
                return entry.rule;
            }
        }
        return std::nullopt;
    }

private:
    std::span<const RuleEntry> rules_;
    int rowCount_;
};

// One unit of a page: its label `LabelN`, and its value box `TextN` with the
// button `CommandN` of the same number.
struct UnitRow {
    int page = 0;
    int row = 0;
    std::string_view caption;
    int label = 0;
    int box = 0;
};

struct Page {
    int number = 0;
    std::string_view caption;
    std::span<const UnitRow> rows;
    ConversionTable table;

    [[nodiscard]] constexpr int rowCount() const { return static_cast<int>(rows.size()); }
    [[nodiscard]] constexpr const UnitRow& row(int index) const {
        return rows[static_cast<std::size_t>(index - 1)];
    }
};

// --- Building tables from the printed matrices -----------------------------

// Marks the diagonal of a matrix: a row is never its own target.
inline constexpr std::nullopt_t none = std::nullopt;

// Multipliers by source row (down) and target row (across).
template <std::size_t N>
using Matrix = std::array<std::array<std::optional<double>, N>, N>;

// True when the diagonal, and only the diagonal, holds no rule.
template <std::size_t N>
constexpr bool hasRulesOffDiagonalOnly(const Matrix<N>& matrix) {
    for (std::size_t s = 0; s < N; ++s) {
        for (std::size_t t = 0; t < N; ++t) {
            if (matrix[s][t].has_value() == (s == t)) {
                return false;
            }
        }
    }
    return true;
}

// The plain-factor rules of a matrix, in table order.
template <std::size_t N>
constexpr std::array<RuleEntry, N*(N - 1)> factorRules(const Matrix<N>& matrix) {
    std::array<RuleEntry, N*(N - 1)> rules{};
    std::size_t next = 0;
    for (std::size_t s = 0; s < N; ++s) {
        for (std::size_t t = 0; t < N; ++t) {
            if (s != t && next < rules.size()) {
                rules[next++] = {static_cast<int>(s + 1),
                                 static_cast<int>(t + 1),
                                 {matrix[s][t].value_or(0.0), 0.0}};
            }
        }
    }
    return rules;
}

// True when `rules` has exactly the layout ConversionTable::targetsOf relies on:
// per source row 1..n, every other row once, ascending, never the source itself.
constexpr bool isTableLayout(std::span<const RuleEntry> rules, int rowCount) {
    if (rowCount < 2 || rules.size() != static_cast<std::size_t>(rowCount) *
                                            static_cast<std::size_t>(rowCount - 1)) {
        return false;
    }
    std::size_t i = 0;
    for (int s = 1; s <= rowCount; ++s) {
        for (int t = 1; t <= rowCount; ++t) {
            if (t == s) {
                continue;
            }
            if (rules[i].source != s || rules[i].target != t) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

// True when every row has the page number, its index in order, and box and
// label numbers that run on consecutively from the first row's.
constexpr bool isRowLayout(std::span<const UnitRow> rows, int page) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int offset = static_cast<int>(i);
        if (rows[i].page != page || rows[i].row != offset + 1 || rows[i].caption.empty() ||
            rows[i].box != rows[0].box + offset || rows[i].label != rows[0].label + offset) {
            return false;
        }
    }
    return !rows.empty();
}

}  // namespace qimbar::convert
