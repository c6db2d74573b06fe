#include "convert/convert_from_row.h"

#include "platform/fp_flags.h"
#include "platform/number_text.h"
#include "platform/run_time_error.h"

#include <cmath>
#include <string>
#include <variant>

namespace qimbar::convert {

using platform::ErrorKind;
using platform::RunTimeError;

double applyRule(double value, ConversionRule rule) {
    // The volatile accesses pin the arithmetic between the flag calls around
    // it: to the compiler, floating-point operations have no side effects and
    // could otherwise be moved past the flag test.
    volatile double input = value;
    double result = input;
    if (rule.multiplier != 1.0) {
        result = result * rule.multiplier;
    }
    if (rule.offset > 0.0) {
        result = result + rule.offset;
    } else if (rule.offset < 0.0) {
        result = result - (-rule.offset);
    }
    volatile double output = result;
    return output;
}

namespace {

double parsedOrRaise(const std::string& text) {
    const platform::ParsedNumber parsed = platform::parseNumber(text);
    if (const auto* failure = std::get_if<platform::ParseFailure>(&parsed)) {
        switch (*failure) {
            case platform::ParseFailure::Empty:
                throw RunTimeError(ErrorKind::EmptyBox);
            case platform::ParseFailure::Overflow:
                throw RunTimeError(ErrorKind::NumberTooLarge);
            case platform::ParseFailure::NotANumber:
                break;
        }
        throw RunTimeError(ErrorKind::NotANumber);
    }
    return std::get<double>(parsed);
}

}  // namespace

void ConvertFromRow(const Page& page, int sourceRow, platform::TextBoxes& boxes) {
    const int sourceNumber = page.row(sourceRow).box;
    for (const RuleEntry& entry : page.table.targetsOf(sourceRow)) {
        const int targetNumber = page.row(entry.target).box;
        platform::TextBox& target = boxes.textBox(targetNumber);
        platform::TextBox& source = boxes.textBox(sourceNumber);

        std::string sourceText;
        const platform::Status read = source.readText(sourceText);
        platform::clearFloatingPointFlags();
        if (read.failed()) {
            throw RunTimeError(ErrorKind::BoxNotRead, read, sourceNumber);
        }

        const double value = applyRule(parsedOrRaise(sourceText), entry.rule);
        // A result that is not finite is the fault itself: overflow gives an
        // infinity, an invalid operation a NaN. WebAssembly keeps no flags,
        // so this is the test on every target; the flags then add what only
        // they can show where a processor keeps them.
        if (!std::isfinite(value)) {
            throw RunTimeError(std::isnan(value) ? ErrorKind::InvalidOperation
                                                 : ErrorKind::Overflow);
        }
        if (const auto fault = platform::floatingPointFault()) {
            throw RunTimeError(*fault);
        }

        const platform::Status written = target.writeText(platform::formatNumber(value));
        platform::clearFloatingPointFlags();
        if (written.failed()) {
            throw RunTimeError(ErrorKind::BoxNotWritten, written, targetNumber);
        }
    }
}

}  // namespace qimbar::convert
