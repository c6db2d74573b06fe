#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace qimbar::win32 {

// A Win32 call that failed: what failed, and the system's own words for why
// in the system's language. The words come from FormatMessageW: the narrow
// text of std::system_category is in the ANSI code page, which is not UTF-8
// before Windows 10 1903.
class SystemError : public std::runtime_error {
public:
    SystemError(std::string_view what, DWORD code);
    [[nodiscard]] DWORD code() const { return code_; }
    // What failed, then why, as the user is shown it.
    [[nodiscard]] const std::wstring& text() const { return text_; }

private:
    DWORD code_;
    std::wstring text_;
};

// The last error of this thread, for `what`.
[[noreturn]] void throwLastError(std::string_view what);

// What a program that could not start shows: in Uzbek, what happened and what
// to do, then the failure's own words.
[[nodiscard]] std::wstring startFailureText(const std::exception& error);

}  // namespace qimbar::win32
