#include "platform/number_text.h"
#include "platform/run_time_error.h"
#include "tests/support/bits.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <doctest/doctest.h>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using qimbar::platform::formatNumber;
using qimbar::platform::ParseFailure;
using qimbar::platform::parseNumber;

namespace {

std::uint64_t bits(double value) {
    return qimbar::testing::bitsOf(value);
}

// Runs everything in a locale with a decimal comma, where strtod and printf
// would go wrong; puts the C locale back afterwards. A machine without such a
// locale cannot show that the locale does not matter, so the test fails there
// (./check makes ru_RU.UTF-8). The web build's C library has the C locale
// alone, so nothing there can depend on one.
class CommaLocale {
public:
    CommaLocale() {
#if !defined(__EMSCRIPTEN__)
        // POSIX names, then the Windows runtime's.
        for (const char* name :
             {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "Russian", "German"}) {
            if (std::setlocale(LC_ALL, name) != nullptr &&
                std::string_view(std::localeconv()->decimal_point) == ",") {
                return;
            }
        }
        std::setlocale(LC_ALL, "C");
        FAIL(
            "no locale with a decimal comma is installed; make one with: localedef -i ru_RU "
            "-f UTF-8 ru_RU.UTF-8");
#endif
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    CommaLocale(CommaLocale&&) = delete;
    CommaLocale& operator=(CommaLocale&&) = delete;
};

struct Accepted {
    const char* name;
    std::string_view text;
    double value;
};

struct Refused {
    const char* name;
    std::string_view text;
    ParseFailure failure;
};

struct Formatted {
    const char* name;
    double value;
    const char* text;
};

}  // namespace

#if !defined(__EMSCRIPTEN__)
TEST_CASE("the locale writes a decimal comma") {
    const CommaLocale locale;
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%g", 1.5);
    CHECK(std::string_view(buffer.data()) == "1,5");
}
#endif

TEST_CASE("accepted texts parse to the nearest double") {
    const CommaLocale locale;
    using namespace std::string_view_literals;
    const Accepted cases[] = {
        {"integer", "42", 42.0},
        {"zero", "0", 0.0},
        {"decimal point", "1.5", 1.5},
        {"decimal comma", "1,5", 1.5},
        {"comma then three digits", "1,000", 1.0},
        {"mark first", ".5", 0.5},
        {"comma first", ",25", 0.25},
        {"mark last", "5.", 5.0},
        {"plus", "+2", 2.0},
        {"minus", "-2.25", -2.25},
        {"minus sign U+2212", "\u22122,5", -2.5},
        {"blanks around", " \t 1.5\t  ", 1.5},
        {"leading zeros", "007", 7.0},
        {"exponent", "1e3", 1000.0},
        {"capital exponent, plus", "1E+3", 1000.0},
        {"negative exponent", "2.5e-3", 0.0025},
        {"exponent with U+2212", "1e\u22123", 0.001},
        {"all the parts", "+.5e-3", 0.0005},
        {"groups of three, spaces", "1 000 000", 1e6},
        {"groups, no-break space", "1\u00A0000", 1000.0},
        {"groups, narrow no-break space", "12\u202F345\u202F678,25", 12345678.25},
        {"groups with a fraction", "1 000,5", 1000.5},
        {"negative groups", "-999 999", -999999.0},
        {"nearest double", "0.1", 0.1},
        {"tie to even", "9007199254740993", 9007199254740992.0},
        {"largest double", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"smallest normal", "2.2250738585072014E-308", std::numeric_limits<double>::min()},
        {"subnormal", "4.9e-324", std::numeric_limits<double>::denorm_min()},
        {"below the subnormals", "1e-400", 0.0},
        {"below, negative", "-1e-400", -0.0},
        {"tiny with many digits", "0.000001e-399", 0.0},
        {"zero with a huge exponent", "0e999999999999999999", 0.0},
        {"negative zero", "-0", -0.0},
        // A pasted cell or line: white space of any kind around the number.
        {"line break after (a spreadsheet cell)", "12\n", 12.0},
        {"Windows line break after", "12\r\n", 12.0},
        {"line breaks around", "\n\n1,5\n", 1.5},
        {"vertical tab and form feed", "\v\f7\f", 7.0},
        {"no-break space around", "\u00A012\u00A0", 12.0},
        {"next line U+0085", "\u008512\u0085", 12.0},
        {"em space and thin space", "\u2003-3\u2009", -3.0},
        {"ideographic space", "\u300042", 42.0},
        {"line and paragraph separators", "\u20285\u2029", 5.0},
        {"narrow no-break and math spaces", "\u202F1 000\u205F", 1000.0},
        {"Ogham space mark", "\u16808", 8.0},
        {"mixed white space", " \t\u00A0\r\n2e3\n\t ", 2000.0},
    };
    for (const Accepted& c : cases) {
        CAPTURE(std::string_view(c.name));
        const auto parsed = parseNumber(c.text);
        REQUIRE(std::holds_alternative<double>(parsed));
        CHECK(bits(std::get<double>(parsed)) == bits(c.value));
    }
}

TEST_CASE("refused texts say why") {
    const CommaLocale locale;
    using namespace std::string_view_literals;
    const auto nan = ParseFailure::NotANumber;
    const auto empty = ParseFailure::Empty;
    const Refused cases[] = {
        {"empty", "", empty},
        {"blanks only", " \t ", empty},
        {"white space only", "\n\u00A0\r\n", empty},
        {"a sign alone among blanks", " - ", nan},
        {"letters", "abc", nan},
        {"number then letters", "12abc", nan},
        {"inf", "inf", nan},
        {"infinity", "-Infinity", nan},
        {"nan", "nan", nan},
        {"hex", "0x10", nan},
        {"two marks", "1,000.5", nan},
        {"double mark", "1..5", nan},
        {"three parts", "1.2.3", nan},
        {"lone point", ".", nan},
        {"lone comma", ",", nan},
        {"lone plus", "+", nan},
        {"lone minus", "-", nan},
        {"sign and mark", "-.", nan},
        {"two signs", "--5", nan},
        {"sign after", "5-", nan},
        {"blank after sign", "- 5", nan},
        {"exponent only", "e5", nan},
        {"no exponent digits", "1e", nan},
        {"exponent sign only", "1e+", nan},
        {"fractional exponent", "1e1.5", nan},
        {"group of two", "1 00", nan},
        {"group of four", "1 0000", nan},
        {"first group of four", "1234 567", nan},
        {"two blanks between groups", "1  000", nan},
        {"group after the mark", "0,000 5", nan},
        {"underscore", "1_000", nan},
        {"apostrophe groups", "1'000", nan},
        {"NUL inside", "1\0002"sv, nan},
        {"line break inside", "12\n34", nan},
        {"line break as a group separator", "1\n000", nan},
        {"tab as a group separator", "1\t000", nan},
        {"em space as a group separator", "1\u2003000", nan},
        {"line break after the sign", "-\n5", nan},
        {"two numbers on two lines", "1\n2\n", nan},
        {"Arabic-Indic digits", "\u0661\u0662", nan},
        {"full-width digits", "\uFF11\uFF12", nan},
        {"zero-width space before", "\u200B12", nan},
        {"right-to-left mark after", "12\u200F", nan},
        {"byte order mark before", "\uFEFF12", nan},
        {"combining mark", "1\u03012", nan},
        {"truncated UTF-8", "1\xE2\x88", nan},
        {"truncated no-break space", "12\xC2", nan},
        {"overflow", "1e309", ParseFailure::Overflow},
        {"negative overflow", "-1.8e308", ParseFailure::Overflow},
        {"huge exponent", "1e99999999999999999999", ParseFailure::Overflow},
        {"overflow, pasted", "1e309\r\n", ParseFailure::Overflow},
    };
    for (const Refused& c : cases) {
        CAPTURE(std::string_view(c.name));
        const auto parsed = parseNumber(c.text);
        REQUIRE(std::holds_alternative<ParseFailure>(parsed));
        CHECK(std::get<ParseFailure>(parsed) == c.failure);
    }
}

TEST_CASE("doubles are written as \"%.15G\" would, reading back") {
    const CommaLocale locale;
    const Formatted cases[] = {
        {"integer", 100.0, "100"},
        {"fraction", -2.5, "-2.5"},
        {"zero", 0.0, "0"},
        {"negative zero", -0.0, "0"},
        {"smallest fixed", 0.0001, "0.0001"},
        {"first exponent below", 0.00001, "1E-05"},
        {"two exponent digits", 1.5e-5, "1.5E-05"},
        {"largest fixed", 123456789012345.0, "123456789012345"},
        {"first exponent above", 1e15, "1E+15"},
        {"sixteen digits", 1234567890123456.0, "1.23456789012346E+15"},
        {"rounds up into exponent", 999999999999999.9, "1E+15"},
        {"three exponent digits", 7.47e307, "7.47E+307"},
        {"largest double, rounded down to read back", std::numeric_limits<double>::max(),
         "1.79769313486231E+308"},
        {"most negative double", -std::numeric_limits<double>::max(), "-1.79769313486231E+308"},
        {"largest that rounds down itself", 1.79769313486231e308, "1.79769313486231E+308"},
        {"subnormal", std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        {"one step below 27.78", 27.779999999999998, "27.78"},
        {"0.1 + 0.2", 0.1 + 0.2, "0.3"},
        {"fifteen digits kept", -0.019999999999999574, "-0.0199999999999996"},
        {"trailing zeros dropped", 0.5, "0.5"},
    };
    for (const Formatted& c : cases) {
        CAPTURE(std::string_view(c.name));
        CHECK(formatNumber(c.value) == c.text);
    }
}

TEST_CASE("doubles are written exactly as the C library's \"%.15G\" writes them") {
    // The C library works from the exact binary value and rounds ties to
    // even, as the program's own writer must; in the C locale.
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<std::int64_t> sixteenDigits(1'000'000'000'000'000,
                                                              9'007'199'254'740'991);
    std::vector<double> values;
    for (int i = 0; i < 300000; ++i) {
        values.push_back(qimbar::testing::doubleOf(random()));  // every magnitude
        // Ties at the fifteenth digit: sixteen-digit integers ending in 5.
        const std::int64_t tie = sixteenDigits(random) / 10 * 10 + 5;
        values.push_back(static_cast<double>(tie));
        // Results of the tables' kind: short decimals times short decimals.
        values.push_back(static_cast<double>(random() % 100000) / 1000.0 *
                         (static_cast<double>(random() % 10000) / 100.0));
    }
    for (const double value : {0.5, 1.0, 9.5, 99999999999999.95, 999999999999999.5, 1e15, 1e-5,
                               0.0001, 0.00009999999999999999, 1e300, 2.2250738585072014e-308,
                               4.9406564584124654e-324, 1.7976931348623e308}) {
        values.push_back(value);
        values.push_back(-value);
    }
    int compared = 0;
    for (const double value : values) {
        if (!std::isfinite(value) || value == 0.0 || std::abs(value) > 1.79769313486231e308) {
            continue;
        }
        std::array<char, 40> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "%.15G", value);
        REQUIRE_MESSAGE(formatNumber(value) == buffer.data(), value);
        ++compared;
    }
    CHECK(compared > 800000);
}

TEST_CASE("a non-finite double has no text") {
    using qimbar::platform::ErrorKind;
    using qimbar::platform::RunTimeError;
    const auto kindFor = [](double value) {
        try {
            (void)formatNumber(value);
        } catch (const RunTimeError& error) {
            return std::optional(error.kind());
        }
        return std::optional<ErrorKind>();
    };
    CHECK(kindFor(std::numeric_limits<double>::infinity()) == ErrorKind::Overflow);
    CHECK(kindFor(-std::numeric_limits<double>::infinity()) == ErrorKind::Overflow);
    CHECK(kindFor(std::numeric_limits<double>::quiet_NaN()) == ErrorKind::InvalidOperation);
}

TEST_CASE("every formatted text reads back to itself") {
    // Random finite doubles of every magnitude: the text parses, and what it
    // parses to formats to the same text.
    const CommaLocale locale;
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        const auto value = qimbar::testing::doubleOf(random());
        if (!std::isfinite(value)) {
            continue;
        }
        const std::string text = formatNumber(value);
        const auto parsed = parseNumber(text);
        REQUIRE_MESSAGE(std::holds_alternative<double>(parsed), text);
        const double back = std::get<double>(parsed);
        REQUIRE(formatNumber(back) == text);
        if (value != 0.0 && std::isnormal(value)) {
            REQUIRE_MESSAGE(std::abs(back - value) <= std::abs(value) * 6e-15, text);
        }
    }
}

TEST_CASE("a megabyte of digits") {
    std::string digits(1 << 20, '9');
    const auto parsed = parseNumber(digits);
    CHECK(std::holds_alternative<ParseFailure>(parsed));  // 10^1048576 is beyond a double
    digits.insert(0, "0.");
    CHECK(std::get<double>(parseNumber(digits)) == 1.0);  // 0.999… rounds to 1
}
