#pragma once

#include <cstdint>
#include <cstring>

namespace qimbar::testing {

// A double's bits and back: std::bit_cast, which emscripten's libc++ 13 lacks.
inline std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline double doubleOf(std::uint64_t bits) {
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace qimbar::testing
