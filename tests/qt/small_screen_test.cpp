// The court on a screen smaller than it (run on a 640 x 480 offscreen
// screen): the court with its frame fills the screen's height at the largest
// scale that fits, the picture shrinks with it, and the game's geometry and
// the pointer stay in the same points as on a screen the court fits.
#include "window_test_support.h"

#include <QScreen>
#include <QTest>

namespace window_test {
namespace {

class SmallScreenCourt : public GameWindows {
protected:
    void SetUp() override {
        ASSERT_EQ(qApp->primaryScreen()->availableGeometry().size(), QSize(640, 480)) << "run on a 640 x 480 screen";
        runtime.show(court);
        // The court is fitted again once its frame is known, when it is first exposed.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }
};

TEST_F(SmallScreenCourt, court_and_its_frame_fill_the_screen_height_at_the_largest_scale) {
    const QRect frame = window().frameGeometry(), free = window().screen()->availableGeometry();
    EXPECT_LT(toolkit::qt::screen_scale(), 1.0);
    EXPECT_TRUE(free.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    // Rounding the client area's height to whole pixels may leave one free.
    EXPECT_GE(frame.height(), free.height() - 1);
    EXPECT_EQ(window().size(), QSize(to_pixels(429.6), to_pixels(415.2)));
}

TEST_F(SmallScreenCourt, pointer_positions_and_pieces_are_in_the_same_points_as_on_a_large_screen) {
    court.start_settings();
    for (const auto& c : court.controls()) EXPECT_EQ(widget(*c).geometry(), pixel_rect_of(*c)) << c->name();
    QTest::mouseMove(window().windowHandle(), QPoint(300, 150));
    EXPECT_NEAR(court.b_racket.left(), racket_left_for(300), 1e-3);
    EXPECT_EQ(widget(court.b_racket).x(), to_pixels(racket_left_for(300)));
}

TEST_F(SmallScreenCourt, free_surface_is_the_centred_picture_shrunk_with_the_court) {
    expect_free_surface_is_the_centred_picture(3);
}

}  // namespace
}  // namespace window_test
