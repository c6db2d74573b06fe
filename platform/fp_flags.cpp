#include "platform/fp_flags.h"

#include <cfenv>

namespace qimbar::platform {

void clearFloatingPointFlags() {
    std::feclearexcept(FE_ALL_EXCEPT);
}

std::optional<ErrorKind> floatingPointFault() {
#if defined(FE_INVALID) && defined(FE_DIVBYZERO) && defined(FE_OVERFLOW)
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if ((raised & FE_INVALID) != 0) {
        return ErrorKind::InvalidOperation;
    }
    if ((raised & FE_DIVBYZERO) != 0) {
        return ErrorKind::DivisionByZero;
    }
    if ((raised & FE_OVERFLOW) != 0) {
        return ErrorKind::Overflow;
    }
#endif
    // Where the processor keeps no flags (WebAssembly), there is none to see;
    // the press tests each result for being finite instead.
    return std::nullopt;
}

}  // namespace qimbar::platform
