#pragma once

#include <string>
#include <string_view>

namespace qimbar::win32 {

// UTF-8 inside, UTF-16 at the Win32 boundary. Ill-formed input becomes U+FFFD.
[[nodiscard]] std::wstring widen(std::string_view utf8);
[[nodiscard]] std::string narrow(std::wstring_view utf16);

}  // namespace qimbar::win32
