#include "toolkit/qt/fit_to_screen.h"

#include "toolkit/screen_fit.h"
#include "toolkit/units.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace toolkit::qt {
namespace {

Extent extent_of(QSizeF size) { return {size.width(), size.height()}; }

// Where a frame of `outer` stands once moved just enough onto the free part of `screen`.
QPoint frame_on_screen(QRect outer, const QScreen* screen) {
    if (!screen) return outer.topLeft();
    const QRect free = screen->availableGeometry();
    const Area placed = place_inside({double(outer.x()), double(outer.y()), double(outer.width()), double(outer.height())},
                                     {double(free.x()), double(free.y()), double(free.width()), double(free.height())});
    return {static_cast<int>(std::lround(placed.left)), static_cast<int>(std::lround(placed.top))};
}

// Once the window is exposed (the window manager has framed it by then), runs
// the call and goes.
class FrameWatch : public QObject {
public:
    FrameWatch(QWindow& window, std::function<void()> fitted) : QObject(&window), fitted_(std::move(fitted)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            fitted_();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> fitted_;
};

}  // namespace

QMargins frame_of(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (!handle) return {};
    // Qt rounds each edge of the frame to whole device-independent pixels:
    // on a scaled screen an edge may be up to half a pixel wider than it says
    // (a 44-pixel title bar at 300 % is 14.67), so it is given one more.
    const int rounding = handle->devicePixelRatio() == 1.0 ? 0 : 1;
    return handle->frameMargins() + QMargins(rounding, rounding, rounding, rounding);
}

QSizeF unscaled_client_size(const FormLook& look) {
    return QSizeF(look.client_width_twips, look.client_height_twips) / kTwipsPerPoint * kPixelsPerPoint;
}

double fitting_scale(const FormLook& look, QMargins frame, const QScreen& screen) {
    const QSizeF frame_size(frame.left() + frame.right(), frame.top() + frame.bottom());
    // Pixels here are device-independent: the display's own scale is 1 in them.
    return fit_scale(extent_of(unscaled_client_size(look)), extent_of(frame_size),
                     extent_of(screen.availableGeometry().size()), 1.0);
}

void place_on_screen(QWidget& window, QPoint client_at) {
    const QMargins frame = frame_of(window);
    const QPoint outer_at = frame_on_screen(QRect(client_at, window.size()).marginsAdded(frame), window.screen());
    window.setGeometry(QRect(outer_at + QPoint(frame.left(), frame.top()), window.size()));
}

void keep_box_on_screen(QWidget& box, QMargins frame) {
    QWindow* handle = box.windowHandle();
    const QRect outer(handle->framePosition(), box.size().grownBy(frame));
    handle->setFramePosition(frame_on_screen(outer, box.screen()));
}

void when_frame_known(QWidget& window, std::function<void()> fitted) {
    window.winId();
    new FrameWatch(*window.windowHandle(), std::move(fitted));
}

}  // namespace toolkit::qt
