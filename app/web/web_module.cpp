// The page's way into the shared core, compiled to WebAssembly: the window
// description as JSON, and the press over the page's box texts. Plain C
// functions on the module's memory, so the page needs no binding library;
// nothing thrown inside gets out of them.
#include "app/press.h"
#include "app/web/description.h"
#include "convert/pages.h"
#include "platform/text_box.h"

#include <cstdint>
#include <emscripten/emscripten.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::uint32_t readLength(const std::uint8_t*& at) {
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        length |= static_cast<std::uint32_t>(*at++) << (8 * i);
    }
    return length;
}

void writeLength(std::string& out, std::size_t length) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((length >> (8 * i)) & 0xFFU);
    }
}

// The page's boxes as the page handed them over: a box the page no longer
// has reports that, as a toolkit's lost control does.
class PageBoxes final : public qimbar::platform::TextBoxes {
public:
    struct Box final : qimbar::platform::TextBox {
        bool present = false;
        bool written = false;
        std::string text;

        qimbar::platform::Status readText(std::string& out) override {
            if (!present) {
                return qimbar::platform::kControlGone;
            }
            out = text;
            return qimbar::platform::Status::ok();
        }
        qimbar::platform::Status writeText(std::string_view value) override {
            if (!present) {
                return qimbar::platform::kControlGone;
            }
            text = value;
            written = true;
            return qimbar::platform::Status::ok();
        }
    };

    explicit PageBoxes(const qimbar::convert::Page& page) : page_(page), boxes_(page.rows.size()) {}

    Box& row(int row) { return boxes_.at(static_cast<std::size_t>(row - 1)); }

    qimbar::platform::TextBox& textBox(int number) override {
        return row(number - page_.row(1).box + 1);
    }

private:
    const qimbar::convert::Page& page_;
    std::vector<Box> boxes_;
};

// The press behind qimbar_press.
const std::uint8_t* press(int page, int row, const std::uint8_t* input) {
    static std::string answer;
    if (page < 1 || page > static_cast<int>(qimbar::convert::pages.size())) {
        return nullptr;
    }
    const auto& converted = qimbar::convert::page(page);
    if (row < 1 || row > converted.rowCount()) {
        return nullptr;
    }
    PageBoxes boxes(converted);
    const std::uint8_t* at = input;
    for (int r = 1; r <= converted.rowCount(); ++r) {
        auto& box = boxes.row(r);
        box.present = *at++ != 0;
        const std::uint32_t length = readLength(at);
        box.text.assign(reinterpret_cast<const char*>(at), length);
        at += length;
    }
    const auto failure = qimbar::app::pressRow(page, row, boxes);
    answer.clear();
    writeLength(answer, failure ? failure->message.size() : 0);
    if (failure) {
        answer += failure->message;
    }
    // The row whose box is at fault, 0 for none.
    writeLength(answer, failure && failure->box != 0
                            ? static_cast<std::size_t>(failure->box - converted.row(1).box + 1)
                            : 0);
    for (int r = 1; r <= converted.rowCount(); ++r) {
        const auto& box = boxes.row(r);
        answer += static_cast<char>(box.written ? 1 : 0);
        writeLength(answer, box.written ? box.text.size() : 0);
        if (box.written) {
            answer += box.text;
        }
    }
    const std::string summary =
        failure ? std::string() : qimbar::app::pressSummary(page, row, boxes);
    writeLength(answer, summary.size());
    answer += summary;
    return reinterpret_cast<const std::uint8_t*>(answer.data());
}

}  // namespace

extern "C" {

// The window description as JSON; null if it could not be made.
EMSCRIPTEN_KEEPALIVE const char* qimbar_description() {
    try {
        static const std::string description = qimbar::web::describe();
        return description.c_str();
    } catch (...) {
        return nullptr;
    }
}

// One press of row `row` of page `page`. `input` holds the page's boxes in row
// order, each a byte (1: the box is there) then its UTF-8 text as a 32-bit
// little-endian length and the bytes. The answer, valid until the next
// press: the message shown (its length, then its bytes; none when the press
// converted) and the row of the box at fault (32 bits, 0 for none), then for
// each row a byte (1: written) and its text likewise,
// then what a press that converted says, likewise.
// Null for a page or row that is not there, or when memory ran out.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* qimbar_press(int page, int row,
                                                      const std::uint8_t* input) {
    try {
        return press(page, row, input);
    } catch (...) {
        return nullptr;
    }
}

}  // extern "C"
