// Parse, format, parse: the text the formatter writes always parses back to a
// double that formats to the same text. The input is tried both as a text and,
// when it is eight bytes or more, as the bits of a double.
#include "platform/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <variant>

namespace {

void checkFormatted(double value) {
    if (!std::isfinite(value)) {
        return;
    }
    const std::string text = qimbar::platform::formatNumber(value);
    const auto back = qimbar::platform::parseNumber(text);
    const auto* reread = std::get_if<double>(&back);
    if (reread == nullptr || qimbar::platform::formatNumber(*reread) != text) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto parsed = qimbar::platform::parseNumber(text);
        std::holds_alternative<double>(parsed)) {
        checkFormatted(std::get<double>(parsed));
    }
    if (size >= sizeof(double)) {
        double bits = 0.0;
        std::memcpy(&bits, data, sizeof bits);
        checkFormatted(bits);
    }
    return 0;
}
