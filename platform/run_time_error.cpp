#include "platform/run_time_error.h"

namespace qimbar::platform {

namespace {

// NUL-terminated, so what() can hand them out as they stand.
constexpr const char* messageText(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::NotANumber:
            return "Kiritilgan qiymat son emas.";
        case ErrorKind::Overflow:
            return "Natija juda katta.";
        case ErrorKind::DivisionByZero:
            return "Nolga bo'lish.";
        case ErrorKind::InvalidOperation:
            return "Noto'g'ri hisob amali.";
        case ErrorKind::BoxNotRead:
            return "Maydon matnini o'qib bo'lmadi.";
        case ErrorKind::BoxNotWritten:
            return "Maydonga yozib bo'lmadi.";
    }
    return "Noto'g'ri hisob amali.";
}

}  // namespace

std::string_view messageFor(ErrorKind kind) {
    return messageText(kind);
}

const char* RunTimeError::what() const noexcept {
    return messageText(kind_);
}

}  // namespace qimbar::platform
