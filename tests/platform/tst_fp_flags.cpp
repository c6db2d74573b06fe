#include "platform/fp_flags.h"

#include <cfenv>
#include <cmath>
#include <doctest/doctest.h>
#include <limits>
#include <optional>

using qimbar::platform::clearFloatingPointFlags;
using qimbar::platform::ErrorKind;
using qimbar::platform::floatingPointFault;

namespace {

// Operands behind volatile so the compiler cannot fold the operations away.
volatile double zero = 0.0;
volatile double one = 1.0;
volatile double big = 1e308;
volatile double tiny = 1e-308;

struct Operation {
    const char* name;
    double (*run)();
    std::optional<ErrorKind> fault;
};

}  // namespace

TEST_CASE("the fault an operation leaves in the flags") {
    const Operation cases[] = {
        {"nothing", [] { return 0.0; }, std::nullopt},
        {"division by zero", [] { return one / zero; }, ErrorKind::DivisionByZero},
        {"overflow", [] { return big * big; }, ErrorKind::Overflow},
        {"zero by zero", [] { return zero / zero; }, ErrorKind::InvalidOperation},
        {"infinity minus infinity",
         [] {
             const double inf = std::numeric_limits<double>::infinity();
             return (one * inf) - (one * inf);
         },
         ErrorKind::InvalidOperation},
        {"underflow is no fault", [] { return tiny * tiny; }, std::nullopt},
        {"inexact is no fault", [] { return one / 3.0; }, std::nullopt},
        {"invalid comes before overflow",
         [] {
             volatile double result = big * big;
             result = zero / zero;
             return static_cast<double>(result);
         },
         ErrorKind::InvalidOperation},
    };
    for (const Operation& c : cases) {
        CAPTURE(std::string_view(c.name));
        clearFloatingPointFlags();
        volatile double result = c.run();
        (void)result;
        CHECK(floatingPointFault() == c.fault);
    }
}

TEST_CASE("clearing forgets earlier faults") {
    std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    CHECK(floatingPointFault().has_value());
    clearFloatingPointFlags();
    CHECK(floatingPointFault() == std::optional<ErrorKind>());
}
