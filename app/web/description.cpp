// The window description as the page reads it: JSON of the window, its
// controls' places in CSS pixels, each page's rows as a reader meets them,
// and the page's own words.
#include "app/web/description.h"

#include "app/row_view.h"
#include "app/texts.h"
#include "app/window_description.h"
#include "platform/number_text.h"

#include <cstdint>
#include <string_view>

namespace qimbar::web {

namespace {

using app::Kind;

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

void appendFont(std::string& out, std::string_view name, const app::FontDescription& font) {
    appendJson(out, name);
    out += ":{\"faces\":[";
    for (const std::string_view face : font.faces) {
        appendJson(out, face);
        out += ',';
    }
    out.back() = ']';
    out += ",\"pixels\":";
    appendNumber(out, app::fontPixels(font));
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

}  // namespace

std::string describe() {
    const auto& form = app::form1;
    std::string out = "{";
    appendField(out, "caption", form.caption);
    // Places in CSS pixels: the twips at 96 DPI, 15 to the pixel.
    appendField(out, "clientWidth", app::twipsToPixels(form.clientWidth));
    appendField(out, "clientHeight", app::twipsToPixels(form.clientHeight));
    appendField(out, "tabStripHeight", app::twipsToPixels(form.tabStripHeight));
    appendField(out, "startPage", form.startPage);
    appendField(out, "version", QIMBAR_VERSION);
    const auto colour = app::kCreditColour;
    std::string hex = "#";
    for (const unsigned channel : {colour.red, colour.green, colour.blue}) {
        appendHex(hex, channel, 2);
    }
    appendField(out, "creditColour", hex);
    appendFont(out, "labelFont", app::kLabelFont);
    appendFont(out, "windowFont", app::kWindowFont);
    out += "\"tabs\":[";
    for (const std::string_view caption : app::tabCaptions) {
        appendJson(out, caption);
        out += ',';
    }
    out.back() = ']';
    out += ",\"controls\":[";
    for (const auto& control : app::controls) {
        out += '{';
        appendField(out, "name", control.name);
        appendField(out, "kind", kindName(control.kind));
        appendField(out, "page", control.page);
        appendField(out, "row", control.row);
        const auto place = app::toPixels(control.geometry);
        appendField(out, "left", place.left);
        appendField(out, "top", place.top);
        appendField(out, "width", place.width);
        appendField(out, "height", place.height);
        appendField(out, "caption", control.caption);
        out.back() = '}';
        out += ',';
    }
    out.back() = ']';
    // Each page's rows, row 1 first: the page lays itself out in this order.
    out += ",\"rows\":[";
    for (int page = 1; page <= static_cast<int>(app::tabCaptions.size()); ++page) {
        out += '[';
        for (const app::RowView& row : app::rowsOf(page)) {
            out += '{';
            appendField(out, "label", row.label->name);
            appendField(out, "box", row.box->name);
            appendField(out, "button", row.button->name);
            appendField(out, "caption", row.caption());
            appendField(out, "explanation", row.explanation);
            appendField(out, "buttonName", row.buttonName);
            out.back() = '}';
            out += ',';
        }
        out.back() = ']';
        out += ',';
    }
    out.back() = ']';
    out += ",\"texts\":{";
    namespace texts = app::texts;
    appendField(out, "needsScript", texts::kNeedsScript);
    appendField(out, "loading", texts::kLoading);
    appendField(out, "cannotWork", texts::kCannotWork);
    appendField(out, "share", texts::kShare);
    appendField(out, "shareText", texts::kShareText);
    appendField(out, "linkCopied", texts::kLinkCopied);
    appendField(out, "updateReady", texts::kUpdateReady);
    appendField(out, "reload", texts::kReload);
    appendField(out, "version", texts::kVersion);
    appendField(out, "outOfMemory", texts::kOutOfMemory);
    appendField(out, "unexpected", texts::kUnexpected);
    out.back() = '}';
    out += '}';
    return out;
}

}  // namespace qimbar::web
