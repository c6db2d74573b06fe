#include "app/press.h"

#include "app/texts.h"
#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "platform/run_time_error.h"

#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace qimbar::app {

namespace {

// The unit whose box is at fault (the one a failed access names, else the
// one pressed), then what went wrong and what to do.
PressFailure failureOf(const platform::RunTimeError& error, const convert::Page& page, int row) {
    const auto failed = convert::rowOfBox(error.boxNumber());
    const convert::UnitRow& unit =
        failed.page != nullptr ? failed.page->row(failed.row) : page.row(row);
    return {texts::errorMessage(unit.caption, error.kind()), unit.box};
}

}  // namespace

std::optional<PressFailure> pressRow(int page, int row, platform::TextBoxes& boxes) {
    // No exception may cross a shell's event loop: every error, whatever a
    // box or the toolkit under it throws, becomes a message, and the program
    // goes on with the boxes as the failure left them.
    try {
        const convert::Page& pressed = convert::page(page);
        try {
            convert::ConvertFromRow(pressed, row, boxes);
        } catch (const platform::RunTimeError& error) {
            return failureOf(error, pressed, row);
        }
    } catch (const std::bad_alloc&) {
        return PressFailure{std::string(texts::kOutOfMemory)};
    } catch (...) {
        return PressFailure{std::string(texts::kUnexpected)};
    }
    return std::nullopt;
}

std::string pressSummary(int page, int row, platform::TextBoxes& boxes) {
    const convert::Page& pressed = convert::page(page);
    const auto textOf = [&boxes, &pressed](int r) -> std::optional<std::string> {
        std::string text;
        if (boxes.textBox(pressed.row(r).box).readText(text).failed()) {
            return std::nullopt;
        }
        return text;
    };
    const auto typed = textOf(row);
    if (!typed) {
        return {};
    }
    std::vector<std::pair<int, std::string>> results;
    for (int r = 1; r <= pressed.rowCount(); ++r) {
        if (r != row) {
            auto text = textOf(r);
            if (!text) {
                return {};
            }
            results.emplace_back(r, std::move(*text));
        }
    }
    std::vector<texts::Result> named;
    named.reserve(results.size());
    for (const auto& [r, text] : results) {
        named.push_back({pressed.row(r).caption, text});
    }
    const std::size_t first = typed->find_first_not_of(" \t\r\n");
    const std::size_t last = typed->find_last_not_of(" \t\r\n");
    const std::string_view trimmed = first == std::string::npos
                                         ? std::string_view()
                                         : std::string_view(*typed).substr(first, last - first + 1);
    return texts::convertedText(trimmed, pressed.row(row).caption, named);
}

}  // namespace qimbar::app
