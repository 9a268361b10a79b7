// Asks a window to close the way a window manager's close box does: a WM_DELETE_WINDOW message.
// The end-to-end test runs without a window manager, where nothing else can ask politely.
//   closewindow <window id> [milliseconds]
// With a time, waits at most that long for the window to go (unmapped or destroyed), and exits
// with 3 if it is still there.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

bool Mapped(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    const bool mapped = attributes != nullptr && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(attributes);
    return mapped;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: closewindow <window id> [milliseconds]\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "closewindow: no display\n");
        return 1;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    // The server may drop what a client sent just before it went away: a round trip first, which
    // the server answers only after everything sent before it.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    int status = 0;
    if (argc == 3) {
        const timespec pause{0, 10'000'000};
        long waited = 0;
        const long limit = std::strtol(argv[2], nullptr, 10);
        while (Mapped(connection, window) && waited <= limit) {
            nanosleep(&pause, nullptr);
            waited += 10;
        }
        if (waited > limit) {
            std::fprintf(stderr, "closewindow: window still there after %ld ms\n", limit);
            status = 3;
        }
    }
    xcb_disconnect(connection);
    return status;
}
