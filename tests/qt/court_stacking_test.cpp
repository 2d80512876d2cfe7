// The ball is at the back of the court's stack: where it overlaps a racket or
// a bar, the racket or bar is drawn over it.
#include "window_test_support.h"

namespace window_test {
namespace {

using CourtStacking = CourtWindow;

struct Overlap {
    const char* piece;
    toolkit::Control& (*control)(forms::frm_court&);
    double x, y;          // a point of the piece, away from its caption (points)
    double ball_side_dy;  // from there to a point of the ball beside the piece (points)
    QColor colour;
};

const Overlap kOverlaps[] = {
    {"b_racket", [](forms::frm_court& c) -> toolkit::Control& { return c.b_racket; }, 177, 375.75, -15, kRed},
    {"b_wall", [](forms::frm_court& c) -> toolkit::Control& { return c.b_wall; }, 100, 12, 15, kRed},
    {"b_goal", [](forms::frm_court& c) -> toolkit::Control& { return c.b_goal; }, 100, 405, -15, kDarkBlue},
    {"b_rack_opp", [](forms::frm_court& c) -> toolkit::Control& { return c.b_rack_opp; }, 186, 39, 15, kBlue},
};

// A 5 × 5 pixel patch around `at`, all of one colour.
testing::AssertionResult patch_is(const QImage& g, QPoint at, const QColor& colour, int tolerance) {
    const QRect patch(at - QPoint(2, 2), QSize(5, 5));
    const int n = count_near(g, patch, colour, tolerance);
    if (n == 25) return testing::AssertionSuccess();
    return testing::AssertionFailure() << n << " of 25 pixels around (" << at.x() << "," << at.y() << ") are "
                                       << rgb_text(colour).toStdString() << "; the middle one is "
                                       << rgb_text(g.pixelColor(at)).toStdString();
}

TEST_F(CourtStacking, rackets_and_bars_are_drawn_over_the_ball) {
    for (const Overlap& o : kOverlaps) {
        SCOPED_TRACE(o.piece);
        // The ball's centre on the piece.
        court.I_ball.set_left(static_cast<float>(o.x - 21.005));
        court.I_ball.set_top(static_cast<float>(o.y - 21.005));
        const QImage g = grab_court();

        EXPECT_TRUE(patch_is(g, QPoint(px(o.x), px(o.y)), o.colour, 3));
        // Beside the piece the ball is there and seen.
        const QPoint ball_side(px(o.x), px(o.y + o.ball_side_dy));
        EXPECT_GE(count_near(g, QRect(ball_side - QPoint(2, 2), QSize(5, 5)), kBallGreen, 50), 20)
            << "the ball is not drawn beside " << o.piece << " at (" << ball_side.x() << "," << ball_side.y() << ")";
    }
}

TEST_F(CourtStacking, racket_looks_the_same_with_the_ball_behind_it) {
    const QRect racket = px_rect(171.01, 366.75, 47.99, 18.00);
    const QImage alone = grab_court().copy(racket);
    // The ball's centre on the racket's centre: the racket covers the ball's middle.
    court.I_ball.set_left(171.01f + 24.0f - 21.0f);
    court.I_ball.set_top(366.75f + 9.0f - 21.0f);
    const QImage g = grab_court();
    EXPECT_GE(count_near(g, QRect(racket.center().x() - 2, racket.top() - 6, 5, 4), kBallGreen, 50), 12)
        << "the ball is not drawn just above the racket";
    EXPECT_TRUE(g.copy(racket) == alone) << "the ball shows through the racket";
}

}  // namespace
}  // namespace window_test
