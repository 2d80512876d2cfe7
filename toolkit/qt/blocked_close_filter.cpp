#include "toolkit/qt/blocked_close_filter.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace toolkit::qt {
namespace {

xcb_atom_t intern_atom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

BlockedCloseFilter::BlockedCloseFilter(Handler handler) : handler_(std::move(handler)) {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    protocols_atom_ = intern_atom(connection, "WM_PROTOCOLS");
    delete_window_atom_ = intern_atom(connection, "WM_DELETE_WINDOW");
    if (protocols_atom_ == XCB_ATOM_NONE || delete_window_atom_ == XCB_ATOM_NONE) return;
    QCoreApplication::instance()->installNativeEventFilter(this);
    installed_ = true;
}

BlockedCloseFilter::~BlockedCloseFilter() {
    if (installed_ && QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool BlockedCloseFilter::nativeEventFilter(const QByteArray& event_type, void* message, qintptr*) {
    if (event_type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit only says the event was sent by another client, as a
    // window manager's close request always is.
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    const auto* client_message = static_cast<const xcb_client_message_event_t*>(message);
    if (client_message->format != 32 || client_message->type != protocols_atom_ ||
        client_message->data.data32[0] != delete_window_atom_)
        return false;
    return handler_(static_cast<WId>(client_message->window));
}

}  // namespace toolkit::qt
