// Starts a program and times how long it takes until it maps its first
// top-level window on the X server, then asks that window to close (as its
// close box would) and waits for the program to end.
//   launch_timer <program> [arguments...]    prints the milliseconds
#include "tests/support/x11.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;
using qimbar::testing::Reply;

bool waitForExit(pid_t pid, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 10) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return true;
        }
        usleep(10000);
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const qimbar::testing::Connection x;
    if (x.hasError()) {
        std::fprintf(stderr, "launch_timer: no X server\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x.c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x.c);

    pid_t pid = 0;
    const auto start = Clock::now();
    if (posix_spawnp(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror("launch_timer: spawn");
        return 2;
    }

    xcb_window_t window = XCB_WINDOW_NONE;
    Clock::time_point mapped;
    pollfd fd{xcb_get_file_descriptor(x.c), POLLIN, 0};
    while (window == XCB_WINDOW_NONE) {
        while (auto* raw = xcb_poll_for_event(x.c)) {
            const Reply<xcb_generic_event_t> event(raw);
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(raw);
                if (map->override_redirect == 0) {
                    mapped = Clock::now();
                    window = map->window;
                    break;
                }
            }
        }
        if (window != XCB_WINDOW_NONE) {
            break;
        }
        if (poll(&fd, 1, 20000) <= 0) {
            std::fprintf(stderr, "launch_timer: no window within 20 s\n");
            kill(pid, SIGKILL);
            return 1;
        }
    }

    qimbar::testing::requestClose(x.c, window);
    if (!waitForExit(pid, 10000)) {
        std::fprintf(stderr, "launch_timer: the program did not end when its window closed\n");
        kill(pid, SIGKILL);
        waitForExit(pid, 1000);
        return 1;
    }
    std::printf("%.2f\n", std::chrono::duration<double, std::milli>(mapped - start).count());
    return 0;
}
