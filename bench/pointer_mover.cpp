#include "bench/pointer_mover.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace bench {

void allow_x_threads() { XInitThreads(); }

PointerMover::PointerMover() {
    display_ = XOpenDisplay(nullptr);
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (display_ && !XTestQueryExtension(display_, &event_base, &error_base, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

PointerMover::~PointerMover() {
    if (display_) XCloseDisplay(display_);
}

void PointerMover::move_to(int x, int y) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XFlush(display_);
}

}  // namespace bench
