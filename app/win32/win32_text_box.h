#pragma once

#include "platform/text_box.h"

#include <windows.h>

namespace qimbar::win32 {

// A Win32 edit control seen as the action's text box; its text is read and
// written whole.
class Win32TextBox final : public platform::TextBox {
public:
    explicit Win32TextBox(HWND edit) : edit_(edit) {}

    [[nodiscard]] platform::Status readText(std::string& text) override;
    [[nodiscard]] platform::Status writeText(std::string_view text) override;

private:
    HWND edit_;  // owned by the window; a box whose window is gone reports so
};

}  // namespace qimbar::win32
