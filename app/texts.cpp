#include "app/texts.h"

#include "platform/number_text.h"

#include <cstdint>

namespace qimbar::app::texts {

std::string_view errorText(platform::ErrorKind kind) {
    using platform::ErrorKind;
    switch (kind) {
        case ErrorKind::EmptyBox:
            return "katak bo'sh. Son kiriting, masalan: 12 yoki 2,5.";
        case ErrorKind::NotANumber:
            return "katakdagi yozuv son emas. Faqat son kiriting, masalan: 12 yoki 2,5.";
        case ErrorKind::NumberTooLarge:
            return "kiritilgan son juda katta. Kichikroq son kiriting.";
        case ErrorKind::Overflow:
            return "natija juda katta chiqdi, uni ko'rsatib bo'lmaydi. Kichikroq son kiriting.";
        case ErrorKind::DivisionByZero:
        case ErrorKind::InvalidOperation:
            return "bu son bilan hisoblab bo'lmadi. Boshqa son kiriting.";
        case ErrorKind::BoxNotRead:
            return "katakdagi yozuvni o'qib bo'lmadi. Qaytadan urinib ko'ring.";
        case ErrorKind::BoxNotWritten:
            return "natijani katakka yozib bo'lmadi. Qaytadan urinib ko'ring.";
    }
    return "bu son bilan hisoblab bo'lmadi. Boshqa son kiriting.";
}

std::string convertedText(std::string_view typed, std::string_view unit,
                          const std::vector<Result>& results) {
    constexpr std::size_t kNamed = 2;
    std::string text = "Hisoblandi: ";
    text += typed;
    text += ' ';
    text += unit;
    text += " =";
    for (std::size_t i = 0; i < results.size() && i < kNamed; ++i) {
        text += i == 0 ? " " : ", ";
        text += results[i].text;
        text += ' ';
        text += results[i].unit;
    }
    if (results.size() > kNamed) {
        text += "; yana ";
        platform::appendDecimal(text, static_cast<std::uint32_t>(results.size() - kNamed));
        text += " ta natija kataklarda.";
    } else {
        text += '.';
    }
    return text;
}

std::string errorMessage(std::string_view unit, platform::ErrorKind kind) {
    std::string message(unit);
    message += ": ";
    message += errorText(kind);
    return message;
}

}  // namespace qimbar::app::texts
