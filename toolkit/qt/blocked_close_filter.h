#pragma once

#include <QAbstractNativeEventFilter>
#include <QWindow>
#include <cstdint>
#include <functional>

namespace toolkit::qt {

// While a modal box is open, Qt drops the desktop's requests to close any
// other window, so a close button would do nothing until the box is gone.
// On X11 this filter sees those requests (WM_DELETE_WINDOW) before Qt does
// and offers each to a handler, which takes it or leaves it to Qt.
class BlockedCloseFilter : public QAbstractNativeEventFilter {
public:
    // Takes the request to close the window of this id, or returns false.
    using Handler = std::function<bool(WId window)>;

    // Installs itself on the X11 platform; elsewhere it does nothing.
    explicit BlockedCloseFilter(Handler handler);
    ~BlockedCloseFilter() override;

    bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;

private:
    Handler handler_;
    bool installed_ = false;
    std::uint32_t protocols_atom_ = 0;
    std::uint32_t delete_window_atom_ = 0;
};

}  // namespace toolkit::qt
