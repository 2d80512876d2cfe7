#include "toolkit/qt/key_repeats.h"

#include "toolkit/held_keys.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QKeyEvent>
#include <xcb/xcb.h>
// xkb.h names a member `explicit`, a C++ keyword.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>
#include <memory>

namespace toolkit::qt {
namespace {

class XcbKeyWatch : public QAbstractNativeEventFilter {
public:
    explicit XcbKeyWatch(xcb_connection_t* connection) : connection_(connection) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_KEY_PRESS: keys.press(static_cast<const xcb_key_press_event_t*>(message)->detail); break;
        case XCB_KEY_RELEASE: keys.release(static_cast<const xcb_key_release_event_t*>(message)->detail); break;
        // A key let go while another program had the keyboard is up, not held.
        case XCB_FOCUS_IN: forget_keys_let_go(); break;
        default: break;
        }
        return false;  // Qt handles every event as before
    }

    HeldKeys keys;

private:
    void forget_keys_let_go() {
        const std::unique_ptr<xcb_query_keymap_reply_t, decltype(&std::free)> keymap(
            xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr), &std::free);
        if (!keymap) return;
        keys.keep_only([&](std::uint32_t code) { return code < 256 && (keymap->keys[code / 8] >> (code % 8)) & 1; });
    }

    xcb_connection_t* connection_;
};

XcbKeyWatch* watch = nullptr;

}  // namespace

void watch_key_repeats() {
    if (watch || QGuiApplication::platformName() != "xcb") return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    // Qt has set XKB up on its connection; a server without it keeps the releases.
    constexpr uint32_t kDetectable = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    std::free(xcb_xkb_per_client_flags_reply(
        connection, xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, kDetectable, kDetectable, 0, 0, 0),
        nullptr));
    // Lives as long as the process: the application outlives every window.
    watch = new XcbKeyWatch(connection);
    qGuiApp->installNativeEventFilter(watch);
}

bool repeats_held_key(const QKeyEvent& key) {
    return key.isAutoRepeat() || (watch && watch->keys.repeating(key.nativeScanCode()));
}

}  // namespace toolkit::qt
