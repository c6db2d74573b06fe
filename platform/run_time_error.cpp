#include "platform/run_time_error.h"

namespace qimbar::platform {

const char* RunTimeError::what() const noexcept {
    // For logs and debuggers; what a person reads is the window's own text.
    switch (kind_) {
        case ErrorKind::NotANumber:
            return "not a number";
        case ErrorKind::Overflow:
            return "overflow";
        case ErrorKind::DivisionByZero:
            return "division by zero";
        case ErrorKind::InvalidOperation:
            return "invalid operation";
        case ErrorKind::BoxNotRead:
            return "a value box could not be read";
        case ErrorKind::BoxNotWritten:
            return "a value box could not be written";
    }
    return "invalid operation";
}

}  // namespace qimbar::platform
