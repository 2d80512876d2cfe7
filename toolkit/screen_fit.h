#pragma once

// How a window is fitted to a screen too small for its design: the scale at
// which it is drawn and where it stands. Plain arithmetic, in whatever pixels
// the platform measures its screen, frames and work area in.
namespace toolkit {

struct Extent {
    double width;
    double height;
};

struct Area {
    double left;
    double top;
    double width;
    double height;
};

// The smallest scale a window is drawn at, where even its frame leaves no
// room: the game stays legible enough to be left.
constexpr double kSmallestFitScale = 0.25;

// The largest scale, never above `display_scale`, at which a client area of
// `design` (its size at scale 1) with a frame that adds `frame` to it fits
// into `available`; kSmallestFitScale where nothing fits.
double fit_scale(Extent design, Extent frame, Extent available, double display_scale);

// `window` moved just enough to lie wholly inside `area`; one larger than the
// area keeps its top-left corner (title bar and close button) inside it.
Area place_inside(Area window, Area area);

}  // namespace toolkit
