#pragma once

// What the X11 test helpers and the start-up benchmark share: an owned server
// connection and replies, and the close request a window manager sends for
// a window's close box (WM_DELETE_WINDOW of the ICCCM).

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace qimbar::testing {

struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};
// An xcb reply or event, freed when it goes.
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The connection to $DISPLAY, closed when it goes; check hasError() first.
struct Connection {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    Connection() = default;
    ~Connection() { xcb_disconnect(c); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&&) = delete;
    Connection& operator=(Connection&&) = delete;

    [[nodiscard]] bool hasError() const { return xcb_connection_has_error(c) != 0; }
};

inline xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

inline void requestClose(xcb_connection_t* connection, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = internAtom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = internAtom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    // A round trip, not just a flush: the server may drop what a client that
    // disconnects at once had sent but it had not yet read.
    const Reply<xcb_get_input_focus_reply_t> handled(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace qimbar::testing
