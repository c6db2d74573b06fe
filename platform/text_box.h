#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qimbar::platform {

// Outcome of one property access on a control, as the form runtime reports it:
// negative means the access failed.
struct Status {
    std::int32_t code = 0;

    [[nodiscard]] constexpr bool failed() const { return code < 0; }
    [[nodiscard]] static constexpr Status ok() { return {}; }
};

// Failure codes our own controls report (HRESULT values, so they read the way
// the rest of the desktop reports a failed access).
inline constexpr Status kControlGone{static_cast<std::int32_t>(0x80004003U)};   // E_POINTER
inline constexpr Status kAccessFailed{static_cast<std::int32_t>(0x80004005U)};  // E_FAIL

// A single-line text box whose text is read and written whole. The action
// only ever sees boxes through this, so it never depends on the toolkit.
class TextBox {
public:
    TextBox() = default;
    TextBox(const TextBox&) = delete;
    TextBox& operator=(const TextBox&) = delete;
    TextBox(TextBox&&) = delete;
    TextBox& operator=(TextBox&&) = delete;
    virtual ~TextBox() = default;

    // Replaces `text` with the box's whole text (UTF-8).
    [[nodiscard]] virtual Status readText(std::string& text) = 0;
    // Replaces the box's whole text with `text` (UTF-8).
    [[nodiscard]] virtual Status writeText(std::string_view text) = 0;
};

// The window's value boxes, found by the number N of `TextN`.
class TextBoxes {
public:
    TextBoxes() = default;
    TextBoxes(const TextBoxes&) = delete;
    TextBoxes& operator=(const TextBoxes&) = delete;
    TextBoxes(TextBoxes&&) = delete;
    TextBoxes& operator=(TextBoxes&&) = delete;
    virtual ~TextBoxes() = default;

    [[nodiscard]] virtual TextBox& textBox(int number) = 0;
};

}  // namespace qimbar::platform
