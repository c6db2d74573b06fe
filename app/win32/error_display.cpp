#include "app/win32/error_display.h"

#include "app/win32/unicode.h"
#include "app/window_description.h"

#include <utility>

namespace qimbar::app {

namespace {

void showMessageBox(HWND owner, const std::wstring& title, const std::wstring& message) {
    MessageBoxW(owner, message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

ErrorPresenter& presenter() {
    static ErrorPresenter current = showMessageBox;
    return current;
}

}  // namespace

void showRunTimeError(HWND owner, std::string_view message) {
    presenter()(owner, widen(form1.caption), widen(message));
}

ScopedErrorPresenter::ScopedErrorPresenter(ErrorPresenter replacement)
    : previous_(std::exchange(presenter(), std::move(replacement))) {}

ScopedErrorPresenter::~ScopedErrorPresenter() {
    presenter() = std::move(previous_);
}

}  // namespace qimbar::app
