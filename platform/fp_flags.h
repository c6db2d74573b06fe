#pragma once

#include "platform/run_time_error.h"

#include <optional>

namespace qimbar::platform {

// Clears every floating-point exception flag.
void clearFloatingPointFlags();

// The fault the flags show since they were last cleared: invalid operation,
// division by zero or overflow, in that order of precedence. Underflow and
// inexact results are not faults. None where the processor keeps no flags.
[[nodiscard]] std::optional<ErrorKind> floatingPointFault();

}  // namespace qimbar::platform
