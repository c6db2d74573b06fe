#include "tests/app/win32/win32_test_main.h"
#include "tests/app/win32/win32_window.h"

namespace qimbar::testing {

std::unique_ptr<WindowDriver> openWindow() {
    return std::make_unique<Win32Window>();
}

}  // namespace qimbar::testing
