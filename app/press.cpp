#include "app/press.h"

#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "platform/run_time_error.h"

#include <new>

namespace qimbar::app {

std::optional<std::string> pressRow(int page, int row, platform::TextBoxes& boxes) {
    // No exception may cross a shell's event loop: every error, whatever a
    // box or the toolkit under it throws, becomes a message, and the program
    // goes on with the boxes as the failure left them.
    try {
        convert::ConvertFromRow(convert::page(page), row, boxes);
    } catch (const platform::RunTimeError& error) {
        return std::string(error.message());
    } catch (const std::bad_alloc&) {
        return std::string("Xotira yetmadi.");
    } catch (...) {
        return std::string("Kutilmagan xatolik yuz berdi.");
    }
    return std::nullopt;
}

}  // namespace qimbar::app
