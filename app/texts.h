#pragma once

#include "platform/run_time_error.h"

#include <string>
#include <string_view>
#include <vector>

// Every Uzbek text the program shows beyond the window description's
// captions, in one place: the shells and the page take them from here.
namespace qimbar::app::texts {

// A row button's name for a screen reader: this, then the unit.
inline constexpr std::string_view kPressName = "Hisoblash: ";

// What a failed press says, after the unit whose box is at fault: what
// happened, then what to do.
[[nodiscard]] std::string_view errorText(platform::ErrorKind kind);
// "Metr: katak bo'sh. Son kiriting, ...": the unit, then errorText.
[[nodiscard]] std::string errorMessage(std::string_view unit, platform::ErrorKind kind);
inline constexpr std::string_view kOutOfMemory =
    "Xotira yetmadi. Boshqa dasturlarni yopib, qaytadan urinib ko'ring.";
inline constexpr std::string_view kUnexpected =
    "Kutilmagan xatolik yuz berdi. Qaytadan urinib ko'ring.";

// What a press that converted says, for a screen reader: the number typed
// with its unit, the first two results, and how many more there are.
struct Result {
    std::string_view unit;
    std::string_view text;
};
[[nodiscard]] std::string convertedText(std::string_view typed, std::string_view unit,
                                        const std::vector<Result>& results);

// A Windows program that could not start; the system's own words follow,
// after kDetails.
inline constexpr std::string_view kCannotStart =
    "Dastur ishga tushmadi. Kompyuterni qayta ishga tushiring va dasturni yana oching.";
inline constexpr std::string_view kDetails = "Tafsilot: ";

// The page's own words.
inline constexpr std::string_view kNeedsScript =
    "Bu brauzerda JavaScript o'chirilgan, Qimbar birliklari esa usiz ishlamaydi. Brauzer "
    "sozlamalarida JavaScriptni yoqing va sahifani qayta yuklang.";
// A press made before the program has loaded: it is made once it has.
inline constexpr std::string_view kLoading =
    "Dastur hali yuklanmoqda. Biroz kuting: yuklangach, o'zi hisoblab beradi.";
inline constexpr std::string_view kCannotWork =
    "Dastur yuklanmadi: brauzer uni ocha olmadi yoki internet aloqasi uzildi. Sahifani qayta "
    "yuklang. Bu yordam bermasa, brauzeringizni yangilang yoki sahifani boshqa brauzerda oching.";
inline constexpr std::string_view kShare = "Havolani ulashish";
// Shared with the link, before what the link converts.
inline constexpr std::string_view kShareText = "Qimbar birliklari: ";
inline constexpr std::string_view kLinkCopied =
    "Havoladan nusxa olindi. Uni kerakli joyga qo'yishingiz mumkin.";
inline constexpr std::string_view kUpdateReady =
    "Yangi versiya tayyor. Uni ochish uchun sahifani qayta yuklang.";
inline constexpr std::string_view kReload = "Qayta yuklash";
inline constexpr std::string_view kVersion = "Versiya ";

// A value box's right-click menu, Qt's own in Uzbek; & marks the access key,
// and Qt adds the shortcut after the word.
inline constexpr std::string_view kEditUndo = "&Bekor qilish";
inline constexpr std::string_view kEditRedo = "Qayta&rish";
inline constexpr std::string_view kEditCut = "&Kesib olish";
inline constexpr std::string_view kEditCopy = "&Nusxa olish";
inline constexpr std::string_view kEditPaste = "&Qo'yish";
inline constexpr std::string_view kEditDelete = "&O'chirish";
inline constexpr std::string_view kEditSelectAll = "&Hammasini tanlash";

}  // namespace qimbar::app::texts
