// What the court shows, read back from a grab of its window: each piece in
// its colour where the layout puts it, before the first game and after a reset.
#include "window_test_support.h"

namespace window_test {
namespace {

using CourtPixels = CourtWindow;

// Light-yellow caption text over a red or blue button, antialiased.
bool is_caption_yellow(const QColor& c) { return c.red() > 200 && c.green() > 200 && c.blue() < 200; }

TEST_F(CourtPixels, wall_bar_is_red_across_3_to_21_points) {
    const QImage g = grab_court();
    EXPECT_TRUE(pixel_is(g, px(214), px(12), kRed));
    const int x = px(214);
    for (int y = px(3) + 1; y <= px(21) - 4; ++y) EXPECT_TRUE(pixel_is(g, x, y, kRed));  // inside the bevel
    EXPECT_TRUE(pixel_is(g, x, px(3) - 1, kCream));
    EXPECT_TRUE(pixel_is(g, x, px(21), kCream));
    EXPECT_TRUE(pixel_is(g, px(3) - 1, px(12), kCream));
    EXPECT_TRUE(pixel_is(g, px(425.99), px(12), kCream));
}

TEST_F(CourtPixels, goal_bar_is_dark_blue_across_396_to_414_points) {
    const QImage g = grab_court();
    const int x = px(214);
    EXPECT_TRUE(pixel_is(g, x, px(405), kDarkBlue));
    for (int y = px(396) + 1; y <= px(414) - 4; ++y) EXPECT_TRUE(pixel_is(g, x, y, kDarkBlue));
    EXPECT_TRUE(pixel_is_not(g, x, px(396) - 1, kDarkBlue, 60));
    EXPECT_TRUE(pixel_is_not(g, x, px(414), kDarkBlue, 60));
}

TEST_F(CourtPixels, players_racket_is_red_with_its_score_0_in_light_yellow) {
    const QImage g = grab_court();
    const QRect racket = px_rect(171.01, 366.75, 47.99, 18.00);
    // Left and right of the caption the racket shows its own red.
    EXPECT_TRUE(pixel_is(g, racket.left() + 4, racket.center().y(), kRed));
    EXPECT_TRUE(pixel_is(g, racket.right() - 4, racket.center().y(), kRed));
    EXPECT_TRUE(pixel_is(g, racket.center().x(), racket.top() + 3, kRed));
    EXPECT_TRUE(pixel_is(g, px(171.01) - 1, racket.center().y(), kCream));
    EXPECT_TRUE(pixel_is(g, racket.center().x(), px(384.75), kCream));

    // The caption "0": one small light-yellow glyph in the middle of the button.
    const QRect inside = racket.adjusted(3, 3, -3, -3);
    const QRect glyph = bounds_of(g, inside, is_caption_yellow);
    ASSERT_FALSE(glyph.isEmpty()) << "no caption drawn on the racket";
    EXPECT_LE(std::abs(glyph.center().x() - racket.center().x()), 2);
    EXPECT_LE(std::abs(glyph.center().y() - racket.center().y()), 2);
    EXPECT_LE(glyph.width(), 10);
    EXPECT_GE(glyph.height(), 7);
    EXPECT_GE(count_near(g, glyph, QColor(255, 255, 128), 40), 8);
}

TEST_F(CourtPixels, opponents_racket_is_blue_with_its_score_0_in_light_yellow) {
    const QImage g = grab_court();
    const QRect racket = px_rect(180.00, 29.99, 47.99, 18.00);
    EXPECT_TRUE(pixel_is(g, racket.left() + 4, racket.center().y(), kBlue));
    EXPECT_TRUE(pixel_is(g, racket.right() - 4, racket.center().y(), kBlue));
    EXPECT_TRUE(pixel_is(g, px(180) - 1, racket.center().y(), kCream));
    EXPECT_TRUE(pixel_is(g, racket.center().x(), px(47.99), kCream));

    const QRect glyph = bounds_of(g, racket.adjusted(3, 3, -3, -3), is_caption_yellow);
    ASSERT_FALSE(glyph.isEmpty()) << "no caption drawn on the opponent's racket";
    EXPECT_LE(std::abs(glyph.center().x() - racket.center().x()), 2);
    EXPECT_LE(glyph.width(), 10);
    EXPECT_GE(count_near(g, glyph, QColor(255, 255, 128), 40), 8);
}

TEST_F(CourtPixels, ball_is_a_yellow_green_ball_at_234_216_points) {
    const QImage g = grab_court();
    const QRect box = px_rect(234.00, 216.00, 42.01, 42.01);
    EXPECT_TRUE(pixel_is(g, box.center().x(), box.center().y(), kBallGreen, 30));
    // Most of the inner circle is the ball's felt.
    const QRect core = QRect(0, 0, box.width() / 2, box.height() / 2);
    EXPECT_GT(count_near(g, core.translated(box.center() - core.center()), kBallGreen, 45), core.width() * core.height() / 2);
    // Nothing of it outside its box.
    EXPECT_TRUE(pixel_is(g, box.center().x(), box.bottom() + 2, kCream));
    EXPECT_TRUE(pixel_is(g, box.right() + 2, box.center().y(), QImage(":/art/court.jpg").pixelColor(box.right() + 2 + 74, box.center().y() + 84), 3));
}

TEST_F(CourtPixels, ball_corners_show_the_court_picture_not_a_square) {
    const QImage g = grab_court();
    const QImage picture(":/art/court.jpg");
    const QRect box = px_rect(234.00, 216.00, 42.01, 42.01);
    for (const QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        SCOPED_TRACE(("corner " + QString::number(corner.x()) + "," + QString::number(corner.y())).toStdString());
        EXPECT_TRUE(pixel_is(g, corner.x(), corner.y(), picture.pixelColor(corner + QPoint(74, 84)), 3));
        EXPECT_TRUE(pixel_is_not(g, corner.x(), corner.y(), kPink, 12));
        EXPECT_TRUE(pixel_is_not(g, corner.x(), corner.y(), kButtonFace, 6));
    }
    // The lower corners lie below the net, on the plain field.
    EXPECT_TRUE(pixel_is(g, box.left() + 1, box.bottom() - 1, kCream));
    EXPECT_TRUE(pixel_is(g, box.right() - 1, box.bottom() - 1, kCream));
}

TEST_F(CourtPixels, reset_makes_both_bars_15_points_high) {
    const QImage before = grab_court();
    court.start_settings();
    const QImage g = grab_court();
    const int x = px(214);

    // Wall bar: 3 to 18 points, so the rows of 18 to 21 points show the field again.
    EXPECT_TRUE(pixel_is(g, x, px(12), kRed));
    for (int y = px(18); y < px(21); ++y) EXPECT_TRUE(pixel_is(g, x, y, kCream)) << "row " << y;
    EXPECT_TRUE(pixel_is(before, x, px(18), kRed));

    // Goal bar: 394 to 409 points, pixel rows 525 to 544.
    for (int y = 526; y <= 540; ++y) EXPECT_TRUE(pixel_is(g, x, y, kDarkBlue));
    EXPECT_TRUE(pixel_is_not(g, x, 523, kDarkBlue, 60));
    for (int y = 545; y <= 553; ++y) EXPECT_TRUE(pixel_is_not(g, x, y, kDarkBlue, 60)) << "row " << y;
    // As designed the same rows were the other way round.
    EXPECT_TRUE(pixel_is_not(before, x, 526, kDarkBlue, 60));
    EXPECT_TRUE(pixel_is(before, x, 548, kDarkBlue));
}

TEST_F(CourtPixels, reset_puts_the_ball_corner_in_the_middle_of_the_field) {
    court.start_settings();
    const QImage g = grab_court();
    const QImage picture(":/art/court.jpg");
    const QRect box = px_rect(214.16, 206.98, 42.01, 42.01);
    EXPECT_EQ(box, QRect(286, 276, 56, 56));
    EXPECT_TRUE(pixel_is(g, box.center().x(), box.center().y(), kBallGreen, 30));
    for (const QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        EXPECT_TRUE(pixel_is(g, corner.x(), corner.y(), picture.pixelColor(corner + QPoint(74, 84)), 3));
    // Where the ball stood before, right of its new box, the picture shows again.
    const QPoint old_right(px(234.00 + 42.01) - 3, px(216 + 21));
    EXPECT_TRUE(pixel_is(g, old_right.x(), old_right.y(), picture.pixelColor(old_right + QPoint(74, 84)), 3));
    EXPECT_TRUE(pixel_is_not(g, old_right.x(), old_right.y(), kBallGreen, 45));
}

}  // namespace
}  // namespace window_test
