#pragma once

#include "toolkit/control.h"

// Where a control stands on a screen's whole pixels.
namespace toolkit {

struct PixelRect {
    int left, top, width, height;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A length in points as whole pixels at `pixels_per_point`, to the nearest.
int to_pixels(double points, double pixels_per_point);

// A control's place in whole pixels: its corner rounded from its left and
// top, its size from its own width and height. Rounding its right and bottom
// edges instead would make a control that moves by fractions of a pixel one
// pixel wider or narrower from move to move: a ball that wobbles, and a
// rescaled picture at every move. Pieces that touch in points may so be a
// pixel apart or overlap by one; no two pieces of the game's forms touch.
PixelRect to_pixel_rect(const ControlGeometry& geometry, double pixels_per_point);

}  // namespace toolkit
