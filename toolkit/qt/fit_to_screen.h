#pragma once

#include "toolkit/look.h"

#include <QMargins>
#include <QPoint>
#include <QSizeF>
#include <functional>

class QScreen;
class QWidget;

// Measures the screen and the window frame for the toolkit core's fit
// arithmetic, and applies what it decides.
namespace toolkit::qt {

// A form's client area at scale 1, in device-independent pixels.
QSizeF unscaled_client_size(const FormLook& look);

// The frame the window manager has put round a window, as far as known
// (nothing before the window is first on screen), never less than it is.
QMargins frame_of(const QWidget& window);

// The screen scale at which the client area of `look` with `frame` around it
// fits the part of `screen` that panels leave free; 1 where it fits as it is.
double fitting_scale(const FormLook& look, QMargins frame, const QScreen& screen);

// Places a top-level window with its client area at `client_at` where that
// keeps its frame on the free part of its screen, else moved just enough.
void place_on_screen(QWidget& window, QPoint client_at);

// Moves a box, whose frame position is set, just enough that its frame lies
// on the free part of its screen; `frame` is what the window manager is
// expected to put round it, which is known only once the box is on screen.
void keep_box_on_screen(QWidget& box, QMargins frame);

// Calls `fitted` once, when the window is first on screen and its frame is
// known, which a window manager tells only after the window is mapped.
void when_frame_known(QWidget& window, std::function<void()> fitted);

}  // namespace toolkit::qt
