#pragma once

#include "platform/run_time_error.h"

#include <string_view>

// Every Uzbek text the program shows beyond the window description's
// captions, in one place: the shells and the page take them from here.
namespace qimbar::app::texts {

// A row button's name for a screen reader: this, then the unit.
inline constexpr std::string_view kPressName = "Hisoblash: ";

// What a failed press says, after the unit whose box is at fault.
[[nodiscard]] std::string_view errorText(platform::ErrorKind kind);
inline constexpr std::string_view kOutOfMemory = "Xotira yetmadi.";
inline constexpr std::string_view kUnexpected = "Kutilmagan xatolik yuz berdi.";

// The page's own words.
inline constexpr std::string_view kNeedsScript =
    "Qimbar birliklari: bu sahifa JavaScript bilan ishlaydi.";
// A press made before the converter has arrived.
inline constexpr std::string_view kLoading =
    "Hisoblagich yuklanmoqda: bosilgan tugma u kelishi bilan bajariladi.";
// What a press did, before the unit it converted from.
inline constexpr std::string_view kConverted = "Hisoblandi: ";
inline constexpr std::string_view kCannotWork =
    "Bu brauzer yoki internet aloqasi bilan hisoblab bo'lmaydi. Sahifani qayta yuklang; "
    "bo'lmasa, brauzeringizni yangilang yoki boshqa brauzerda oching.";
inline constexpr std::string_view kShare = "Havolani ulashish";
// Shared with the link, before what the link converts.
inline constexpr std::string_view kShareText = "Qimbar birliklari: ";
inline constexpr std::string_view kLinkCopied = "Havola nusxalandi.";
inline constexpr std::string_view kUpdateReady = "Yangi versiya tayyor.";
inline constexpr std::string_view kReload = "Qayta yuklash";
inline constexpr std::string_view kVersion = "Versiya ";

}  // namespace qimbar::app::texts
