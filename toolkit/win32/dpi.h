#pragma once

#include "toolkit/control.h"

#include <windows.h>

// Points to pixels at a window's DPI, under one program-wide screen scale.
// Each monitor has its own DPI, and the program tells Windows it draws
// crisply at every one (per-monitor aware).
namespace toolkit::win32 {

// Declares the process aware of every monitor's DPI, where the exe's manifest
// has not already; on Windows before 10 (and Wine without it) nothing happens.
void become_dpi_aware();

// The DPI the window is drawn at: its monitor's, or the screen's on systems
// without per-monitor DPI.
UINT dpi_of(HWND window);

// The scale of the mapping from points to pixels under the DPI: 1 unless the
// court does not fit its monitor's work area (Win32Runtime fits it).
void set_screen_scale(double scale);
double screen_scale();

int to_pixels(double points, UINT dpi);
double to_points(int pixels, UINT dpi);
// How many screen pixels a picture's own pixel (1/96 inch) is drawn on.
double picture_scale(UINT dpi);
// A control's place at the DPI and the screen scale, by the toolkit's pixel grid:
// it keeps its size in pixels wherever it moves.
RECT to_pixel_rect(const ControlGeometry& geometry, UINT dpi);

// The outer rectangle of a window whose client area is `client`, in screen pixels.
RECT frame_around(const RECT& client, DWORD style, DWORD ex_style, UINT dpi);
// The largest screen scale, never above 1, at which a client area of the
// given points (at scale 1) at `dpi`, with `border` round it (the frame's
// edges as offsets from the client area's), fits the work area of the
// monitor `on` is mostly on (or nearest to).
double scale_to_fit(double width_points, double height_points, const RECT& border, UINT dpi, const RECT& on);
// `frame` moved just enough to lie on the work area of the monitor it is
// mostly on (or nearest to); a frame larger than the work area keeps its
// top-left corner on it.
RECT kept_on_work_area(const RECT& frame);

}  // namespace toolkit::win32
