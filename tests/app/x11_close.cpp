// Closes a window the way its close box does.   x11_close <window id>
#include "tests/support/x11_close.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <window id>\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    if (connected) {
        const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
        qimbar::testing::requestClose(connection, window);
    } else {
        std::fprintf(stderr, "x11_close: no X server\n");
    }
    xcb_disconnect(connection);
    return connected ? 0 : 2;
}
