#include "app/win32/win32_text_box.h"

#include "app/win32/unicode.h"

#include <string>

namespace qimbar::win32 {

platform::Status Win32TextBox::readText(std::string& text) {
    if (IsWindow(edit_) == FALSE) {
        return platform::kControlGone;
    }
    const int length = GetWindowTextLengthW(edit_);
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    SetLastError(ERROR_SUCCESS);
    const int copied = GetWindowTextW(edit_, buffer.data(), length + 1);
    if (copied == 0 && GetLastError() != ERROR_SUCCESS) {
        return platform::kAccessFailed;
    }
    buffer.resize(static_cast<std::size_t>(copied));
    text = narrow(buffer);
    return platform::Status::ok();
}

platform::Status Win32TextBox::writeText(std::string_view text) {
    if (IsWindow(edit_) == FALSE) {
        return platform::kControlGone;
    }
    if (SetWindowTextW(edit_, widen(text).c_str()) == FALSE) {
        return platform::kAccessFailed;
    }
    return platform::Status::ok();
}

}  // namespace qimbar::win32
