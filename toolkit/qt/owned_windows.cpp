#include "toolkit/qt/owned_windows.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace toolkit::qt {
namespace {

// The name the wlroots library gives its X window manager (Xwayland under sway and its kin).
constexpr std::string_view kWlrootsWindowManager = "wlroots wm";

xcb_atom_t atom(xcb_connection_t* c, std::string_view name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// A property of a window as bytes; empty when it is missing.
std::string property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 256), nullptr), &std::free);
    if (!reply) return {};
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return {bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

// The name the running X window manager gives itself (_NET_WM_NAME of its
// check window); empty when there is none.
std::string x11_window_manager_name() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return {};
    xcb_connection_t* c = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::string check =
        property(c, screen->root, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() != sizeof(xcb_window_t)) return {};
    xcb_window_t wm_window = 0;
    check.copy(reinterpret_cast<char*>(&wm_window), sizeof wm_window);
    return property(c, wm_window, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"));
}

}  // namespace

bool owned_windows_inside_owner() {
    const QString platform = QGuiApplication::platformName();
    if (platform == "wayland") return true;
    return platform == "xcb" && x11_window_manager_name() == kWlrootsWindowManager;
}

}  // namespace toolkit::qt
