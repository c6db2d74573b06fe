#pragma once

#include "convert/model.h"
#include "platform/text_box.h"

namespace qimbar::convert {

// One press of row `sourceRow`'s button on `page`: for each other row in
// ascending order, reads the source box anew, parses it, applies the pair's
// rule, tests the floating-point flags and writes the result into that row's
// box. Throws platform::RunTimeError at the first failure; the boxes written
// before it keep their new text, the rest and the source box stay as they were.
void ConvertFromRow(const Page& page, int sourceRow, platform::TextBoxes& boxes);

// The rule applied as two rounded operations: the multiplication unless the
// multiplier is 1, then the offset unless it is 0.
[[nodiscard]] double applyRule(double value, ConversionRule rule);

}  // namespace qimbar::convert
