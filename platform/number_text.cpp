#include "platform/number_text.h"

#include "platform/run_time_error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <system_error>

namespace qimbar::platform {

namespace {

constexpr std::string_view kMinusSign = "\u2212";
constexpr std::array<std::string_view, 3> kGroupSeparators{" ", "\u00A0", "\u202F"};
// Far beyond any double's exponent, and far from overflowing when a megabyte
// of digits is added to it.
constexpr std::int64_t kExponentCap = 1'000'000'000'000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    [[nodiscard]] bool atEnd() const { return pos_ == text_.size(); }
    [[nodiscard]] bool peekDigit() const { return !atEnd() && isDigit(text_[pos_]); }

    char take() { return text_[pos_++]; }

    bool accept(std::string_view token) {
        if (text_.substr(pos_).starts_with(token)) {
            pos_ += token.size();
            return true;
        }
        return false;
    }

    bool acceptAnyOf(std::string_view chars) {
        if (!atEnd() && chars.find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
            return true;
        }
        return false;
    }

    // An optional sign; true when it is a minus.
    bool acceptSign() {
        if (accept("+")) {
            return false;
        }
        return accept("-") || accept(kMinusSign);
    }

    bool acceptGroupSeparator() {
        return std::any_of(kGroupSeparators.begin(), kGroupSeparators.end(),
                           [this](std::string_view separator) { return accept(separator); });
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Unicode's white space (the White_Space property), in UTF-8: a number pasted
// from a spreadsheet cell or a web page comes with line breaks, tabs or
// no-break spaces around it.
constexpr std::array<std::string_view, 25> kWhiteSpace{
    "\t",     "\n",     "\v",     "\f",     "\r",     " ",      "\u0085", "\u00A0", "\u1680",
    "\u2000", "\u2001", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006", "\u2007", "\u2008",
    "\u2009", "\u200A", "\u2028", "\u2029", "\u202F", "\u205F", "\u3000",
};

// The length of the white space that `text` begins with (or ends with).
std::size_t whiteSpaceAt(std::string_view text, bool atEnd) {
    for (const std::string_view space : kWhiteSpace) {
        if (atEnd ? text.ends_with(space) : text.starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}

std::string_view trimmed(std::string_view text) {
    while (const std::size_t length = whiteSpaceAt(text, false)) {
        text.remove_prefix(length);
    }
    while (const std::size_t length = whiteSpaceAt(text, true)) {
        text.remove_suffix(length);
    }
    return text;
}

// The text rewritten in the one form std::from_chars reads, with what is
// needed to tell overflow from underflow when it reports a range error.
struct Normalized {
    std::string chars;
    bool negative = false;
    // The value lies in [10^(magnitude-1), 10^magnitude) unless it is zero.
    std::int64_t magnitude = 0;
};

std::optional<Normalized> normalize(std::string_view text) {
    Normalized out;
    out.chars.reserve(text.size() + 2);
    Scanner in(trimmed(text));

    out.negative = in.acceptSign();
    if (out.negative) {
        out.chars += '-';
    }

    std::int64_t integerDigits = 0;
    std::int64_t significantIntegerDigits = 0;
    int groupLength = 0;
    bool grouped = false;
    while (true) {
        if (in.peekDigit()) {
            const char digit = in.take();
            if (digit != '0' || significantIntegerDigits > 0) {
                ++significantIntegerDigits;
            }
            out.chars += digit;
            ++integerDigits;
            ++groupLength;
            continue;
        }
        if (integerDigits == 0 || !in.acceptGroupSeparator()) {
            break;
        }
        // "1 000 000": a first group of one to three digits, then groups of three.
        if (grouped ? groupLength != 3 : groupLength > 3) {
            return std::nullopt;
        }
        if (!in.peekDigit()) {
            return std::nullopt;
        }
        grouped = true;
        groupLength = 0;
    }
    if (grouped && groupLength != 3) {
        return std::nullopt;
    }
    if (integerDigits == 0) {
        out.chars += '0';
    }

    std::int64_t fractionDigits = 0;
    std::int64_t leadingFractionZeros = 0;
    if (in.acceptAnyOf(".,")) {
        out.chars += '.';
        while (in.peekDigit()) {
            const char digit = in.take();
            if (digit == '0' && leadingFractionZeros == fractionDigits) {
                ++leadingFractionZeros;
            }
            out.chars += digit;
            ++fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return std::nullopt;
    }

    std::int64_t exponent = 0;
    if (in.acceptAnyOf("eE")) {
        out.chars += 'e';
        const bool negativeExponent = in.acceptSign();
        if (negativeExponent) {
            out.chars += '-';
        }
        if (!in.peekDigit()) {
            return std::nullopt;
        }
        while (in.peekDigit()) {
            const char digit = in.take();
            exponent = std::min(exponent * 10 + (digit - '0'), kExponentCap);
            out.chars += digit;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (!in.atEnd()) {
        return std::nullopt;
    }

    out.magnitude =
        (significantIntegerDigits > 0 ? significantIntegerDigits : -leadingFractionZeros) +
        exponent;
    return out;
}

}  // namespace

ParsedNumber parseNumber(std::string_view text) {
    const std::optional<Normalized> number = normalize(text);
    if (!number) {
        return ParseFailure::NotANumber;
    }
    const char* first = number->chars.data();
    const char* last = first + number->chars.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // from_chars reports underflow to zero like overflow; only the latter is an error.
        if (number->magnitude > 0) {
            return ParseFailure::Overflow;
        }
        return number->negative ? -0.0 : 0.0;
    }
    if (error != std::errc{} || end != last) {
        return ParseFailure::NotANumber;
    }
    return value;
}

std::string formatNumber(double value) {
    if (std::isnan(value)) {
        throw RunTimeError(ErrorKind::InvalidOperation);
    }
    if (std::isinf(value)) {
        throw RunTimeError(ErrorKind::Overflow);
    }
    if (value == 0.0) {
        return "0";  // never "-0"
    }
    // Fifteen digits round the largest doubles up to 1.79769313486232E+308,
    // which is beyond the range and would not read back: write the nearest
    // text below it instead.
    constexpr double kLargestThatRoundsDown = 1.79769313486231e308;
    if (std::abs(value) > kLargestThatRoundsDown) {
        return value < 0 ? "-1.79769313486231E+308" : "1.79769313486231E+308";
    }
    // "-1.23456789012345E-308" is the longest text: 22 characters.
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::general, 15);
    std::string text(buffer.data(), end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    (void)error;  // cannot fail: the buffer holds the longest text
    return text;
}

}  // namespace qimbar::platform
