#include "app/win32/error_display.h"

#include "app/win32/unicode.h"
#include "app/window_description.h"

namespace qimbar::win32 {

namespace {

void showMessageBox(HWND owner, const std::wstring& title, const std::wstring& message) {
    MessageBoxW(owner, message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

ErrorPresenter& errorPresenter() {
    static ErrorPresenter current = showMessageBox;
    return current;
}

void showRunTimeError(HWND owner, std::string_view message) {
    errorPresenter()(owner, widen(app::form1.caption), widen(message));
}

}  // namespace qimbar::win32
