#pragma once

#include "platform/text_box.h"

#include <optional>
#include <string>

namespace qimbar::app {

// One press of a row's "Hisoblash" button, as every shell runs it: converts
// the text of row `row` of page `page` (1 to 6) into the page's other boxes.
// Returns what to show when the press failed, in which case the boxes stand
// as the failure left them; nothing when it converted.
struct PressFailure {
    std::string message;
    // The TextN to correct: the one whose access failed, else the one
    // pressed; 0 when no box is at fault (no memory).
    int box = 0;
    bool operator==(const PressFailure&) const = default;
};
[[nodiscard]] std::optional<PressFailure> pressRow(int page, int row, platform::TextBoxes& boxes);

// What a press of that row that converted says (texts::convertedText), read
// from the boxes as it left them; empty where a box cannot be read.
[[nodiscard]] std::string pressSummary(int page, int row, platform::TextBoxes& boxes);

}  // namespace qimbar::app
