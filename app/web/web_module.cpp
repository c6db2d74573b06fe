// The page's way into the shared core, compiled to WebAssembly: the window
// description, with each row's unit explanation, as JSON; and the press, over
// the page's box texts. Plain C functions on the module's memory, so the
// page needs no binding library.
#include "app/press.h"
#include "app/unit_explanation.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "platform/number_text.h"
#include "platform/text_box.h"

#include <cstdint>
#include <emscripten/emscripten.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

using qimbar::app::Kind;

void appendNumber(std::string& out, int value) {
    if (value < 0) {
        out += '-';
    }
    qimbar::platform::appendDecimal(out, static_cast<std::uint32_t>(value < 0 ? -value : value));
}

void appendHex(std::string& out, unsigned value, int digits) {
    constexpr std::string_view kHex = "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += kHex[(value >> static_cast<unsigned>(shift)) & 0xFU];
    }
}

void appendJson(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\\u";
                    appendHex(out, static_cast<unsigned char>(c), 4);
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void appendField(std::string& out, std::string_view name, std::string_view text) {
    appendJson(out, name);
    out += ':';
    appendJson(out, text);
    out += ',';
}

void appendField(std::string& out, std::string_view name, int value) {
    appendJson(out, name);
    out += ':';
    appendNumber(out, value);
    out += ',';
}

void appendFont(std::string& out, std::string_view name, const qimbar::app::FontDescription& font) {
    appendJson(out, name);
    out += ":{\"faces\":[";
    for (const std::string_view face : font.faces) {
        appendJson(out, face);
        out += ',';
    }
    out.back() = ']';
    out += ",\"pixels\":";
    appendNumber(out, qimbar::app::fontPixels(font));
    out += "},";
}

std::string_view kindName(Kind kind) {
    switch (kind) {
        case Kind::TabControl:
            return "tabs";
        case Kind::Label:
            return "label";
        case Kind::TextBox:
            return "box";
        case Kind::Button:
            return "button";
    }
    return "";
}

std::string describe() {
    const auto& form = qimbar::app::form1;
    std::string out = "{";
    appendField(out, "caption", form.caption);
    // Places in CSS pixels: the twips at 96 DPI, 15 to the pixel.
    appendField(out, "clientWidth", qimbar::app::twipsToPixels(form.clientWidth));
    appendField(out, "clientHeight", qimbar::app::twipsToPixels(form.clientHeight));
    appendField(out, "tabStripHeight", qimbar::app::twipsToPixels(form.tabStripHeight));
    appendField(out, "startPage", form.startPage);
    const auto colour = qimbar::app::kCreditColour;
    std::string hex = "#";
    for (const unsigned channel : {colour.red, colour.green, colour.blue}) {
        appendHex(hex, channel, 2);
    }
    appendField(out, "creditColour", hex);
    appendFont(out, "labelFont", qimbar::app::kLabelFont);
    appendFont(out, "windowFont", qimbar::app::kWindowFont);
    out += "\"tabs\":[";
    for (const std::string_view caption : qimbar::app::tabCaptions) {
        appendJson(out, caption);
        out += ',';
    }
    out.back() = ']';
    out += ",\"controls\":[";
    for (const auto& control : qimbar::app::controls) {
        out += '{';
        appendField(out, "name", control.name);
        appendField(out, "kind", kindName(control.kind));
        appendField(out, "page", control.page);
        appendField(out, "row", control.row);
        const auto place = qimbar::app::toPixels(control.geometry);
        appendField(out, "left", place.left);
        appendField(out, "top", place.top);
        appendField(out, "width", place.width);
        appendField(out, "height", place.height);
        appendField(out, "caption", control.caption);
        if (control.page != 0) {
            const auto& page = qimbar::convert::page(control.page);
            appendField(out, "unit", page.row(control.row).caption);
            appendField(out, "explanation", qimbar::app::unitExplanation(page, control.row));
        }
        appendJson(out, "tabIndex");
        out += ':';
        appendNumber(out, control.tabIndex);
        out += "},";
    }
    out.back() = ']';
    out += '}';
    return out;
}

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

}  // namespace

extern "C" {

// The window description as JSON.
EMSCRIPTEN_KEEPALIVE const char* qimbar_description() {
    static const std::string description = describe();
    return description.c_str();
}

// One press of row `row` of page `page`. `input` holds the page's boxes in row
// order, each a byte (1: the box is there) then its UTF-8 text as a 32-bit
// little-endian length and the bytes. The answer, valid until the next
// press: the message shown (its length, then its bytes; none when the press
// converted), then for each row a byte (1: written) and its text likewise.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* qimbar_press(int page, int row,
                                                      const std::uint8_t* input) {
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
    const auto message = qimbar::app::pressRow(page, row, boxes);
    answer.clear();
    writeLength(answer, message ? message->size() : 0);
    if (message) {
        answer += *message;
    }
    for (int r = 1; r <= converted.rowCount(); ++r) {
        const auto& box = boxes.row(r);
        answer += static_cast<char>(box.written ? 1 : 0);
        writeLength(answer, box.written ? box.text.size() : 0);
        if (box.written) {
            answer += box.text;
        }
    }
    return reinterpret_cast<const std::uint8_t*>(answer.data());
}

}  // extern "C"
