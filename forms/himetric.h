#pragma once

#include "toolkit/control.h"
#include "toolkit/units.h"

namespace forms {

// A control's place and size from the designer's HIMETRIC values, in points.
inline toolkit::ControlGeometry himetric(int left, int top, int width, int height) {
    using toolkit::himetric_to_points;
    return {himetric_to_points(left), himetric_to_points(top), himetric_to_points(width), himetric_to_points(height)};
}

}  // namespace forms
