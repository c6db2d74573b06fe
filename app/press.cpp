#include "app/press.h"

#include "app/texts.h"
#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "platform/run_time_error.h"

#include <new>

namespace qimbar::app {

namespace {

// "Metr: Kiritilgan qiymat son emas.": the unit whose box is at fault (the
// one a failed access names, else the one pressed), then what went wrong.
std::string messageFor(const platform::RunTimeError& error, const convert::Page& page, int row) {
    const auto failed = convert::rowOfBox(error.boxNumber());
    const convert::UnitRow& unit =
        failed.page != nullptr ? failed.page->row(failed.row) : page.row(row);
    std::string message(unit.caption);
    message += ": ";
    message += texts::errorText(error.kind());
    return message;
}

}  // namespace

std::optional<std::string> pressRow(int page, int row, platform::TextBoxes& boxes) {
    // No exception may cross a shell's event loop: every error, whatever a
    // box or the toolkit under it throws, becomes a message, and the program
    // goes on with the boxes as the failure left them.
    try {
        const convert::Page& pressed = convert::page(page);
        try {
            convert::ConvertFromRow(pressed, row, boxes);
        } catch (const platform::RunTimeError& error) {
            return messageFor(error, pressed, row);
        }
    } catch (const std::bad_alloc&) {
        return std::string(texts::kOutOfMemory);
    } catch (...) {
        return std::string(texts::kUnexpected);
    }
    return std::nullopt;
}

}  // namespace qimbar::app
