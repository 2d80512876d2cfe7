// What the court shows, read back from its window: every piece in its
// colour, the ball green with the court's picture in its corners, and the
// rackets and bars drawn over the ball.
#include "win32_test_support.h"

namespace win32_test {
namespace {

using toolkit::win32::to_pixel_rect;

class CourtPixels : public GameOnWin32 {
protected:
    CourtPixels() {
        runtime.hide(hello);
        settle();
    }
    RECT place(const toolkit::Control& c) const {
        return to_pixel_rect({c.left(), c.top(), c.width(), c.height()}, window(court).dpi());
    }
    // The middle of a piece, away from its bevel and its caption.
    static POINT inside(const RECT& r) { return {r.left + 6, (r.top + r.bottom) / 2}; }
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kDarkBlue = RGB(0, 0, 192),
               kCream = RGB(255, 248, 240), kPink = RGB(255, 192, 192);

TEST_F(CourtPixels, every_piece_shows_in_its_colour_at_its_place) {
    const Grab g = grab_client(window(court).handle());
    const struct {
        const toolkit::Control& piece;
        COLORREF colour;
    } pieces[] = {{court.b_wall, kRed}, {court.b_goal, kDarkBlue}, {court.b_racket, kRed}, {court.b_rack_opp, kBlue}};
    for (const auto& p : pieces) {
        SCOPED_TRACE(p.piece.name());
        const POINT at = inside(place(p.piece));
        EXPECT_TRUE(close_to(g.at(at.x, at.y), p.colour, 3)) << std::hex << g.at(at.x, at.y);
        EXPECT_FALSE(close_to(g.at(at.x, place(p.piece).top - 2), p.colour, 60));
    }
    // The free surface is the court picture's pale field, not the pink back colour.
    EXPECT_TRUE(close_to(g.at(20, 200), kCream, 8)) << std::hex << g.at(20, 200);
}

TEST_F(CourtPixels, the_ball_is_green_with_the_picture_in_its_corners) {
    const RECT ball = place(court.I_ball);
    const Grab g = grab_client(window(court).handle());
    const COLORREF middle = g.at((ball.left + ball.right) / 2 + 8, (ball.top + ball.bottom) / 2 + 12);
    EXPECT_TRUE(GetGValue(middle) > 150 && GetBValue(middle) < 140) << std::hex << middle;
    for (const POINT corner : {POINT{ball.left + 1, ball.top + 1}, POINT{ball.right - 2, ball.bottom - 2}}) {
        EXPECT_TRUE(close_to(g.at(corner.x, corner.y), kCream, 8)) << std::hex << g.at(corner.x, corner.y);
        EXPECT_FALSE(close_to(g.at(corner.x, corner.y), kPink, 8));
    }
}

TEST_F(CourtPixels, rackets_and_bars_are_drawn_over_the_ball) {
    for (const toolkit::Control* piece : {&court.b_racket, &court.b_wall, &court.b_goal, &court.b_rack_opp}) {
        SCOPED_TRACE(piece->name());
        const RECT r = place(*piece);
        const POINT at = inside(r);
        const COLORREF alone = grab_client(window(court).handle()).at(at.x, at.y);
        court.I_ball.set_left(piece->left() + 2 - court.I_ball.width() / 2);
        court.I_ball.set_top(piece->top() + piece->height() / 2 - court.I_ball.height() / 2);
        settle(30);
        EXPECT_EQ(grab_client(window(court).handle()).at(at.x, at.y), alone);
    }
}

}  // namespace
}  // namespace win32_test
