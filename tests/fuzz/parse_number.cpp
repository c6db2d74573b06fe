// Any text: the parser never crashes, and what it accepts is a finite double.
#include "platform/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = qimbar::platform::parseNumber(text);
    if (const auto* value = std::get_if<double>(&parsed);
        value != nullptr && !std::isfinite(*value)) {
        std::abort();
    }
    return 0;
}
