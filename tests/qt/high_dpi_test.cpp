// The court on a screen of twice the usual pixel density (run with
// QT_SCALE_FACTOR=2): every length doubles in device pixels, the picture is
// drawn at twice its size, and the game's geometry in points stays the same.
#include "window_test_support.h"

#include <QApplication>
#include <QTest>

namespace window_test {
namespace {

class HighDpiCourt : public GameWindows {
protected:
    void SetUp() override { ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "these tests expect QT_SCALE_FACTOR=2"; }
};

TEST_F(HighDpiCourt, grab_has_twice_the_pixels_with_the_picture_and_the_pieces_drawn_twice_as_large) {
    EXPECT_EQ(window().size(), QSize(573, 554));
    const QImage g = grab_court();
    ASSERT_EQ(g.size(), QSize(1146, 1108));
    expect_free_surface_is_the_centred_picture(12);
    // Each piece at twice its pixel place: wall bar, racket, opponent's racket, ball.
    for (const auto& [x, y, colour] : {std::tuple(214.0, 12.0, kRed), std::tuple(175.0, 375.75, kRed),
                                       std::tuple(184.0, 39.0, kBlue), std::tuple(255.0, 237.0, kBallGreen)})
        EXPECT_TRUE(pixel_is(g, 2 * to_pixels(x), 2 * to_pixels(y), colour, colour == kBallGreen ? 30 : 3));
    // The goal bar down to its last row of 414 points, device row 1103, with the field below.
    EXPECT_TRUE(pixel_is(g, 2 * to_pixels(214), 2 * to_pixels(405), kDarkBlue));
    EXPECT_TRUE(pixel_is(g, 2 * to_pixels(214), 2 * to_pixels(414) - 6, kCream, 20, /*is=*/false));
    EXPECT_TRUE(pixel_is(g, 2 * to_pixels(214), 2 * to_pixels(414) + 1, kCream));
}

TEST_F(HighDpiCourt, pointer_positions_and_pieces_are_in_the_same_points_as_on_a_normal_screen) {
    court.start_settings();
    runtime.show(court);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    for (const auto& c : court.controls()) EXPECT_EQ(widget(*c).geometry(), pixel_rect_of(*c)) << c->name();
    QTest::mouseMove(window().windowHandle(), QPoint(300, 150));
    EXPECT_NEAR(court.b_racket.left(), racket_left_for(300), 1e-3);
    EXPECT_EQ(widget(court.b_racket).x(), to_pixels(racket_left_for(300)));
}

}  // namespace
}  // namespace window_test
