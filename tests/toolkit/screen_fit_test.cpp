#include "toolkit/screen_fit.h"

#include <gtest/gtest.h>

namespace {

using toolkit::Area;
using toolkit::Extent;
using toolkit::fit_scale;
using toolkit::place_inside;

// The court's client area at scale 1, in device-independent pixels.
constexpr Extent kCourt{572.8, 553.6};
// An openbox frame: a border of 1 and a title bar of 20 pixels.
constexpr Extent kFrame{2, 22};

struct FitCase {
    const char* what;
    Extent design, frame, available;
    double display_scale;
    double expected;
};

class FitScale : public testing::TestWithParam<FitCase> {};

TEST_P(FitScale, is_the_largest_that_fits_and_never_above_the_display) {
    const FitCase& c = GetParam();
    EXPECT_DOUBLE_EQ(fit_scale(c.design, c.frame, c.available, c.display_scale), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FitScale,
    testing::Values(
        FitCase{"a large screen keeps the display's scale", kCourt, kFrame, {1280, 1024}, 1.0, 1.0},
        FitCase{"a large screen keeps a display scale above 1", kCourt, kFrame, {2560, 1600}, 2.0, 2.0},
        FitCase{"a window that fits exactly keeps the display's scale", {100, 100}, kFrame, {102, 122}, 1.0, 1.0},
        FitCase{"one pixel too few down", {100, 100}, kFrame, {102, 121}, 1.0, 0.99},
        FitCase{"one pixel too few across", {100, 100}, kFrame, {101, 122}, 1.0, 0.99},
        FitCase{"the tighter of the two sides decides", {200, 100}, {0, 0}, {100, 80}, 1.0, 0.5},
        FitCase{"640 x 480 under a frame", kCourt, kFrame, {640, 480}, 1.0, 458 / 553.6},
        FitCase{"a display scale of 1.5 that does not fit", kCourt, {3, 33}, {1366, 768}, 1.5, 735 / 553.6},
        FitCase{"a frame as large as the screen", kCourt, {640, 480}, {640, 480}, 1.0, toolkit::kSmallestFitScale},
        FitCase{"a frame larger than the screen", kCourt, {700, 500}, {640, 480}, 1.0, toolkit::kSmallestFitScale},
        FitCase{"a tiny screen gets no smaller than the smallest scale", kCourt, kFrame, {100, 100}, 1.0,
                toolkit::kSmallestFitScale}));

struct PlaceCase {
    const char* what;
    Area window, area;
    double left, top;
};

class PlaceInside : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceInside, moves_the_window_just_enough_and_keeps_its_size) {
    const PlaceCase& c = GetParam();
    const Area placed = place_inside(c.window, c.area);
    EXPECT_DOUBLE_EQ(placed.left, c.left) << c.what;
    EXPECT_DOUBLE_EQ(placed.top, c.top) << c.what;
    EXPECT_DOUBLE_EQ(placed.width, c.window.width) << c.what;
    EXPECT_DOUBLE_EQ(placed.height, c.window.height) << c.what;
}

constexpr Area kScreen{0, 0, 640, 480};

INSTANTIATE_TEST_SUITE_P(
    Windows, PlaceInside,
    testing::Values(
        PlaceCase{"inside already: not moved", {60, 76, 575, 400}, kScreen, 60, 76},
        PlaceCase{"touching the far edges: not moved", {65, 80, 575, 400}, kScreen, 65, 80},
        PlaceCase{"one pixel past the bottom: up by one", {10, 81, 100, 400}, kScreen, 10, 80},
        PlaceCase{"past the right and bottom edges", {600, 450, 100, 50}, kScreen, 540, 430},
        PlaceCase{"left of and above the area", {-5, -30, 100, 50}, kScreen, 0, 0},
        PlaceCase{"an area that does not start at 0 (a panel above and left)", {0, 0, 100, 50}, {48, 27, 592, 453},
                  48, 27},
        PlaceCase{"larger than the area: its corner at the area's", {300, 200, 700, 500}, kScreen, 0, 0},
        PlaceCase{"taller only: moved up to the top, kept across", {100, 200, 100, 500}, kScreen, 100, 0}));

}  // namespace
