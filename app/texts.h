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

}  // namespace qimbar::app::texts
