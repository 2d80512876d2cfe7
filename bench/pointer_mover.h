#pragma once

// Real pointer motion through the X server's XTest extension, as xdotool
// sends it. Kept apart from the Qt code: Xlib's macros clash with Qt's names.
struct _XDisplay;

namespace bench {

// Lets more than one thread use Xlib; call before anything else touches X.
void allow_x_threads();

// A connection of its own to $DISPLAY, for one thread.
class PointerMover {
public:
    PointerMover();
    ~PointerMover();
    PointerMover(const PointerMover&) = delete;
    PointerMover& operator=(const PointerMover&) = delete;

    bool ok() const { return display_ != nullptr; }
    // Moves the pointer to a point of the root window, in pixels; sent at once.
    void move_to(int x, int y);

private:
    _XDisplay* display_ = nullptr;
};

}  // namespace bench
