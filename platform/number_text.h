#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace qimbar::platform {

enum class ParseFailure {
    Empty,  // nothing but white space
    NotANumber,
    Overflow,  // a number, but beyond the range of a double
};

// Either the parsed value or why there is none.
using ParsedNumber = std::variant<double, ParseFailure>;

// Reads a number typed by a person (UTF-8), independent of the process locale:
//   [white space] [+ | - | U+2212] digits [(. | ,) digits] [(e | E) [sign] digits] [white space]
// with at least one mantissa digit. White space is any of Unicode's: line
// breaks, tabs, no-break and other spaces. Groups of exactly three integer digits may
// be split by a space, a no-break space or a narrow no-break space. The value
// is the double nearest to the decimal; one too small for a double becomes
// zero or a subnormal.
[[nodiscard]] ParsedNumber parseNumber(std::string_view text);

// Writes a finite double the way C's "%.15G" does in the C locale, except that
// negative zero is "0" and the doubles above 1.79769313486231E+308 are written
// as that, since "%.15G" rounds them to a text beyond the range of a double. Raises the overflow or
// invalid-operation run-time error for an infinite or NaN value, which has no text that reads back.
[[nodiscard]] std::string formatNumber(double value);

// Appends `value` in decimal, padded with zeros to `width` digits. Written out
// here rather than with the C library's formatting, which would weigh on the
// web build.
void appendDecimal(std::string& text, std::uint32_t value, std::size_t width = 1);

}  // namespace qimbar::platform
