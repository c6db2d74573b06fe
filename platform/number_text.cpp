#include "platform/number_text.h"

#include "platform/run_time_error.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fast_float/fast_float.h>
#include <optional>
#include <system_error>

namespace qimbar::platform {

namespace {

constexpr std::string_view kMinusSign = "\u2212";
constexpr std::array<std::string_view, 3> kGroupSeparators{" ", "\u00A0", "\u202F"};

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

// The text rewritten in the one form fast_float reads: an optional minus,
// digits, a point, digits, an exponent.
std::optional<std::string> normalize(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    Scanner in(trimmed(text));

    if (in.acceptSign()) {
        out += '-';
    }

    std::int64_t integerDigits = 0;
    int groupLength = 0;
    bool grouped = false;
    while (true) {
        if (in.peekDigit()) {
            out += in.take();
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
        out += '0';
    }

    std::int64_t fractionDigits = 0;
    if (in.acceptAnyOf(".,")) {
        out += '.';
        while (in.peekDigit()) {
            out += in.take();
            ++fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return std::nullopt;
    }

    if (in.acceptAnyOf("eE")) {
        out += 'e';
        if (in.acceptSign()) {
            out += '-';
        }
        if (!in.peekDigit()) {
            return std::nullopt;
        }
        while (in.peekDigit()) {
            out += in.take();
        }
    }
    if (!in.atEnd()) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

ParsedNumber parseNumber(std::string_view text) {
    if (trimmed(text).empty()) {
        return ParseFailure::Empty;
    }
    const std::optional<std::string> number = normalize(text);
    if (!number) {
        return ParseFailure::NotANumber;
    }
    // fast_float: the nearest double, ties to even, on every target and in
    // every locale; beyond the range it gives an infinity, below it a zero.
    const char* first = number->data();
    const char* last = first + number->size();
    double value = 0.0;
    const auto [end, error] = fast_float::from_chars(first, last, value);
    if (error != std::errc{} || end != last) {
        return ParseFailure::NotANumber;
    }
    if (std::isinf(value)) {
        return ParseFailure::Overflow;
    }
    return value;
}

namespace {

constexpr int kSignificantDigits = 15;

// A non-negative integer in base 10^9, least significant limb first, as large
// as a double's exact decimal value needs: 2^1024 has 309 digits, and a
// 53-bit mantissa times 5^1074 has 767.
class BigDecimal {
public:
    explicit BigDecimal(std::uint64_t value) {
        while (value != 0) {
            limbs_[size_++] = static_cast<std::uint32_t>(value % kBase);
            value /= kBase;
        }
    }

    // Multiplies by `factor`, at most 5^13 or 2^29 so that no limb overflows.
    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_[size_++] = static_cast<std::uint32_t>(carry % kBase);
            carry /= kBase;
        }
    }

    void multiplyByPowerOf(std::uint32_t base, int exponent) {
        // The largest powers that keep a limb's product within 64 bits.
        const int step = base == 5 ? 13 : 29;
        const std::uint32_t big = base == 5 ? 1220703125U : 536870912U;
        for (; exponent >= step; exponent -= step) {
            multiply(big);
        }
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent) {
            rest *= base;
        }
        multiply(rest);
    }

    [[nodiscard]] std::string digits() const {
        std::string text;
        text.reserve(size_ * 9);
        appendDecimal(text, size_ == 0 ? 0U : limbs_[size_ - 1], 1);
        for (std::size_t i = size_ - 1; i-- > 0;) {
            appendDecimal(text, limbs_[i], 9);
        }
        return text;
    }

private:
    static constexpr std::uint64_t kBase = 1'000'000'000;
    std::array<std::uint32_t, 90> limbs_{};
    std::size_t size_ = 0;
};

// A positive finite double rounded to 15 significant digits, ties to even,
// from its exact decimal value: value ≈ 0.d1…d15 × 10^(exponent + 1).
struct Rounded {
    std::string digits;  // 15 of them
    int exponent = 0;    // of the first digit, as in d1.d2…d15 × 10^exponent
};

Rounded roundTo15Digits(double value) {
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);  // std::bit_cast, where libc++ 13 has none
    const auto biased = static_cast<int>((bits >> 52U) & 0x7FFU);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52U) - 1);
    const std::uint64_t mantissa = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52U);
    const int binaryExponent = (biased == 0 ? 1 : biased) - 1075;

    // value = mantissa × 2^binaryExponent = exact × 10^-scale
    BigDecimal exact(mantissa);
    int scale = 0;
    if (binaryExponent >= 0) {
        exact.multiplyByPowerOf(2, binaryExponent);
    } else {
        exact.multiplyByPowerOf(5, -binaryExponent);
        scale = -binaryExponent;
    }
    std::string digits = exact.digits();
    Rounded rounded{digits.substr(0, kSignificantDigits),
                    static_cast<int>(digits.size()) - 1 - scale};
    rounded.digits.resize(kSignificantDigits, '0');
    if (digits.size() > kSignificantDigits) {
        const char next = digits[kSignificantDigits];
        const bool restIsZero =
            digits.find_first_not_of('0', kSignificantDigits + 1) == std::string::npos;
        const bool odd = (rounded.digits.back() - '0') % 2 != 0;
        if (next > '5' || (next == '5' && (!restIsZero || odd))) {
            auto it = rounded.digits.rbegin();
            for (; it != rounded.digits.rend() && *it == '9'; ++it) {
                *it = '0';
            }
            if (it == rounded.digits.rend()) {
                rounded.digits.front() = '1';  // 999…9 became 1000…0
                ++rounded.exponent;
            } else {
                ++*it;
            }
        }
    }
    return rounded;
}

}  // namespace

void appendDecimal(std::string& text, std::uint32_t value, std::size_t width) {
    std::array<char, 10> digits{};
    std::size_t count = 0;
    do {
        digits.at(count++) = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    text.append(width > count ? width - count : 0, '0');
    while (count > 0) {
        text.push_back(digits.at(--count));
    }
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
    // "%.15G": fixed where the exponent is from -4 to 14, else d.ddd…E±XX;
    // trailing zeros go, and the point with them.
    const Rounded rounded = roundTo15Digits(std::abs(value));
    const int exponent = rounded.exponent;
    const bool fixed = exponent >= -4 && exponent < kSignificantDigits;
    // The digits before the point: as many as the exponent asks for in fixed
    // form, one in exponential form; none before the zeros of a small one.
    const std::string_view digits = rounded.digits;
    const std::size_t whole = fixed ? static_cast<std::size_t>(std::max(exponent + 1, 0)) : 1;
    std::string text;
    text.reserve(32);
    if (value < 0) {
        text.push_back('-');
    }
    if (whole == 0) {
        text.append("0.");
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
    } else {
        text.append(digits.substr(0, whole));
        text.push_back('.');
    }
    text.append(digits.substr(whole));
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    if (!fixed) {
        text.append(exponent < 0 ? "E-" : "E+");
        appendDecimal(text, static_cast<std::uint32_t>(std::abs(exponent)), 2);
    }
    return text;
}

}  // namespace qimbar::platform
