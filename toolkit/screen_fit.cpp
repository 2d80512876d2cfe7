#include "toolkit/screen_fit.h"

#include <algorithm>

namespace toolkit {

double fit_scale(Extent design, Extent frame, Extent available, double display_scale) {
    const double across = (available.width - frame.width) / design.width;
    const double down = (available.height - frame.height) / design.height;
    return std::max(kSmallestFitScale, std::min({display_scale, across, down}));
}

namespace {

// The start of a span of `length` moved just enough into [lo, lo + room].
double move_into(double start, double length, double lo, double room) {
    return std::max(lo, std::min(start, lo + room - length));
}

}  // namespace

Area place_inside(Area window, Area area) {
    window.left = move_into(window.left, window.width, area.left, area.width);
    window.top = move_into(window.top, window.height, area.top, area.height);
    return window;
}

}  // namespace toolkit
