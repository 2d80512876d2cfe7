#include "toolkit/pixel_grid.h"

#include <gtest/gtest.h>

namespace {

using toolkit::ControlGeometry;
using toolkit::PixelRect;
using toolkit::to_pixel_rect;

// Pixels per point at 96, 120, 144 and 192 dots per inch, and at a screen
// fit's odd scale.
constexpr double kScales[] = {96.0 / 72, 120.0 / 72, 144.0 / 72, 192.0 / 72, 96.0 / 72 * 1.106};

// The ball (14.1 points across) and a racket (47.99 points) moving across the
// court in the steps a rally makes, whole and fractional.
TEST(PixelGrid, a_moving_control_keeps_its_size_in_pixels) {
    for (const double scale : kScales) {
        for (const ControlGeometry start : {ControlGeometry{3, 3, 14.1f, 14.1f}, ControlGeometry{171.01f, 366.75f, 47.99f, 18}}) {
            const PixelRect first = to_pixel_rect(start, scale);
            for (float step = 0; step < 400; step += 0.37f) {
                ControlGeometry moved = start;
                moved.left += step;
                moved.top += step / 2;
                const PixelRect r = to_pixel_rect(moved, scale);
                ASSERT_EQ(r.width, first.width) << "at scale " << scale << ", left " << moved.left;
                ASSERT_EQ(r.height, first.height) << "at scale " << scale << ", top " << moved.top;
            }
        }
    }
}

TEST(PixelGrid, corner_and_size_are_rounded_to_the_nearest_pixel) {
    struct Case {
        ControlGeometry g;
        double scale;
        PixelRect expected;
    } cases[] = {
        {{0, 0, 0, 0}, 96.0 / 72, {0, 0, 0, 0}},
        {{3, 3, 422.99f, 18}, 96.0 / 72, {4, 4, 564, 24}},
        {{0.37f, 0.38f, 0.37f, 0.38f}, 1, {0, 0, 0, 0}},
        {{0.5f, 1.5f, 0.5f, 1.5f}, 1, {1, 2, 1, 2}},  // halves away from zero
        {{-3.2f, -0.6f, 10, 10}, 1, {-3, -1, 10, 10}},
    };
    for (const Case& c : cases) {
        const PixelRect r = to_pixel_rect(c.g, c.scale);
        EXPECT_EQ(r, c.expected) << c.g.left << "," << c.g.top << " " << c.g.width << "x" << c.g.height << " -> "
                                 << r.left << "," << r.top << " " << r.width << "x" << r.height;
    }
}

}  // namespace
