#include "toolkit/pixel_grid.h"

#include <cmath>

namespace toolkit {

int to_pixels(double points, double pixels_per_point) {
    return static_cast<int>(std::lround(points * pixels_per_point));
}

PixelRect to_pixel_rect(const ControlGeometry& g, double pixels_per_point) {
    return {to_pixels(g.left, pixels_per_point), to_pixels(g.top, pixels_per_point),
            to_pixels(g.width, pixels_per_point), to_pixels(g.height, pixels_per_point)};
}

}  // namespace toolkit
