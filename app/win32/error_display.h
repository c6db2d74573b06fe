#pragma once

#include "app/scoped_override.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace qimbar::win32 {

// Shows a press's message: a message box with the error icon over `owner`,
// captioned with the program's name; the program goes on once it is closed.
void showRunTimeError(HWND owner, std::string_view message);

// What showRunTimeError hands its box to; tests put their own in its place so
// that no modal box blocks them.
using ErrorPresenter =
    std::function<void(HWND owner, const std::wstring& title, const std::wstring& message)>;

// The presenter in use.
[[nodiscard]] ErrorPresenter& errorPresenter();

// Puts a presenter in place of the message box for its lifetime.
using ScopedErrorPresenter = app::ScopedSlotOverride<ErrorPresenter, errorPresenter>;

}  // namespace qimbar::win32
