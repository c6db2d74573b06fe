// Closes a window the way its close box does.   x11_close <window id>
#include "tests/support/x11.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <window id>\n", argv[0]);
        return 2;
    }
    const qimbar::testing::Connection x;
    if (x.hasError()) {
        std::fprintf(stderr, "x11_close: no X server\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    qimbar::testing::requestClose(x.c, window);
    return 0;
}
