#include "app/win32/system_error.h"

#include "app/texts.h"
#include "app/win32/unicode.h"

namespace qimbar::win32 {

namespace {

std::wstring systemWords(DWORD code) {
    wchar_t* words = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    // No words for it: its number.
    std::wstring text = length != 0 ? std::wstring(words, length) : widen(std::to_string(code));
    LocalFree(words);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

SystemError::SystemError(std::string_view what, DWORD code)
    : std::runtime_error(std::string(what)),
      code_(code),
      text_(widen(what) + L": " + systemWords(code)) {}

void throwLastError(std::string_view what) {
    throw SystemError(what, GetLastError());
}

std::wstring startFailureText(const std::exception& error) {
    const auto* system = dynamic_cast<const SystemError*>(&error);
    return widen(app::texts::kCannotStart) + L"\n\n" + widen(app::texts::kDetails) +
           (system != nullptr ? system->text() : widen(error.what()));
}

}  // namespace qimbar::win32
