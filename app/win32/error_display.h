#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <windows.h>

namespace qimbar::app {

// Shows a press's message: a message box with the error icon over `owner`,
// captioned with the program's name; the program goes on once it is closed.
void showRunTimeError(HWND owner, std::string_view message);

// What showRunTimeError hands its box to; tests put their own in its place so
// that no modal box blocks them.
using ErrorPresenter =
    std::function<void(HWND owner, const std::wstring& title, const std::wstring& message)>;

// Puts `presenter` in place of the message box for this object's lifetime.
class ScopedErrorPresenter {
public:
    explicit ScopedErrorPresenter(ErrorPresenter replacement);
    ~ScopedErrorPresenter();
    ScopedErrorPresenter(const ScopedErrorPresenter&) = delete;
    ScopedErrorPresenter& operator=(const ScopedErrorPresenter&) = delete;
    ScopedErrorPresenter(ScopedErrorPresenter&&) = delete;
    ScopedErrorPresenter& operator=(ScopedErrorPresenter&&) = delete;

private:
    ErrorPresenter previous_;
};

}  // namespace qimbar::app
