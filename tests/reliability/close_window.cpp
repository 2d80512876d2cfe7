// Does what a window manager does when the user clicks a window's close
// button: sends the window a WM_PROTOCOLS client message carrying
// WM_DELETE_WINDOW and leaves the rest to the program. (Destroying the window,
// as `xdotool windowclose` does, is something else: no close button does that.)
//
// Usage: close_window WINDOW_ID   (decimal or 0x-prefixed hex, as xdotool prints it)
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(xcb_intern_atom_reply(c, cookie, nullptr),
                                                                         &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const unsigned long window = std::strtoul(argv[1], &end, 0);
    if (end == argv[1] || *end != '\0' || window == 0) {
        std::fprintf(stderr, "not a window id: %s\n", argv[1]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot connect to the display\n");
        return 1;
    }
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t delete_window = atom(c, "WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || delete_window == XCB_ATOM_NONE) {
        std::fprintf(stderr, "the display has no WM_PROTOCOLS or WM_DELETE_WINDOW atom\n");
        xcb_disconnect(c);
        return 1;
    }

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window);
    message.type = protocols;
    message.data.data32[0] = delete_window;
    message.data.data32[1] = XCB_CURRENT_TIME;
    const auto cookie = xcb_send_event_checked(c, 0, static_cast<xcb_window_t>(window), XCB_EVENT_MASK_NO_EVENT,
                                               reinterpret_cast<const char*>(&message));
    std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(xcb_request_check(c, cookie), &std::free);
    xcb_disconnect(c);
    if (error) {
        std::fprintf(stderr, "sending to window %lu failed (X error %d)\n", window, error->error_code);
        return 1;
    }
    return 0;
}
