#include "app/texts.h"

namespace qimbar::app::texts {

std::string_view errorText(platform::ErrorKind kind) {
    using platform::ErrorKind;
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

}  // namespace qimbar::app::texts
