#include "platform/run_time_error.h"

namespace qimbar::platform {

const char* RunTimeError::what() const noexcept {
    // For logs and debuggers: what a person reads is the window's own text
    // for kind().
    return "run-time error of a press";
}

}  // namespace qimbar::platform
