// What the court shows, read back from a grab of its window: the picture on
// the free surface and in the round ball's corners, each piece in its colour
// where the layout puts it, before the first game and after a reset, and the
// ball at the back of the stack, behind every racket and bar.
#include "window_test_support.h"

#include <QAbstractButton>

#include <filesystem>
#include <fstream>
#include <string>

namespace window_test {
namespace {

using CourtPixels = GameWindows;

bool is_score_yellow(const QColor& c) { return c.red() > 200 && c.green() > 200 && c.blue() < 200; }
// The piece fills its place with its colour inside the bevel, nothing of that
// colour lies just outside it, and a racket shows its score "0" centred.
void expect_piece(const QImage& g, const QRect& r, const QColor& colour, bool shows_score) {
    SCOPED_TRACE(testing::Message() << "piece at " << r.x() << "," << r.y());
    const QRect inside = r.adjusted(4, 1, -4, -3);
    EXPECT_GT(count_near(g, inside, colour, 3), inside.width() * inside.height() * 9 / 10);
    for (const QPoint out : {QPoint(r.center().x(), r.top() - 1), QPoint(r.center().x(), r.bottom() + 1),
                             QPoint(r.left() - 1, r.center().y()), QPoint(r.right() + 1, r.center().y())})
        EXPECT_TRUE(pixel_is(g, out.x(), out.y(), colour, 60, /*is=*/false));
    if (!shows_score) return;
    const QRect glyph = bounds_of(g, r.adjusted(3, 3, -3, -3), is_score_yellow);
    const QPoint off = glyph.center() - r.center();
    EXPECT_TRUE(!glyph.isEmpty() && std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2) << "score missing or off centre";
    EXPECT_TRUE(glyph.width() <= 10 && glyph.height() >= 7) << "a single digit is " << glyph.width() << " wide";
    EXPECT_GE(count_near(g, glyph, QColor(255, 255, 128), 40), 8);
}

TEST_F(CourtPixels, picture_and_pieces_in_their_places_and_colours_before_and_after_the_reset) {
    ASSERT_EQ(picture.size(), QSize(721, 722));
    expect_free_surface_is_the_centred_picture(2);
    const QImage designed = grab_court();
    expect_piece(designed, to_pixel_rect({3, 3, 422.99, 18}), kRed, false);
    expect_piece(designed, to_pixel_rect({3, 396, 422.99, 18}), kDarkBlue, false);  // disabled, yet not greyed
    expect_piece(designed, to_pixel_rect({171.01, 366.75, 47.99, 18}), kRed, true);
    expect_piece(designed, to_pixel_rect({180, 29.99, 47.99, 18}), kBlue, true);

    // Bars 15 points high, the goal bar ending at 409 points (row 544); the picture where they and the ball were.
    court.start_settings();
    expect_free_surface_is_the_centred_picture(2);
    const QImage reset = grab_court();
    expect_piece(reset, to_pixel_rect({3, 3, 422.99, 15}), kRed, false);
    expect_piece(reset, to_pixel_rect({3, 394, 422.99, 15}), kDarkBlue, false);
}

TEST_F(CourtPixels, rackets_and_bars_are_drawn_over_the_ball_unchanged) {
    // The ball's centre goes to (x, y) on the piece; dy from there is a point of the ball beside it (points).
    const struct { toolkit::Control& piece; double x, y, dy; } overlaps[] = {
        {court.b_racket, 195, 375.75, -15}, {court.b_wall, 100, 12, 15},
        {court.b_goal, 100, 405, -15}, {court.b_rack_opp, 186, 39, 15}};
    for (const auto& o : overlaps) {
        SCOPED_TRACE(o.piece.name());
        const QRect piece = widget(o.piece).geometry();
        const QImage alone = grab_court().copy(piece);
        court.I_ball.set_left(static_cast<float>(o.x - court.I_ball.width() / 2));
        court.I_ball.set_top(static_cast<float>(o.y - court.I_ball.height() / 2));
        const QImage g = grab_court();
        EXPECT_TRUE(g.copy(piece) == alone) << "the ball shows through";
        const QPoint beside(to_pixels(o.x), to_pixels(o.y + o.dy));
        EXPECT_GE(count_near(g, QRect(beside - QPoint(2, 2), QSize(5, 5)), kBallGreen, 50), 20) << "no ball beside";
    }
}

// A button's face is drawn once and shown again while nothing it shows has
// changed: a new score, the keyboard focus or a press draws it afresh, and a
// move shows the same face in the new place.
TEST_F(CourtPixels, a_racket_shows_every_change_of_its_score_focus_and_press_and_keeps_its_face_when_it_moves) {
    toolkit::Control& racket = court.b_racket;
    auto& button = static_cast<QAbstractButton&>(widget(racket));
    const auto face = [&] { return grab_court().copy(button.geometry()); };
    const QImage first = face();
    const std::string score = racket.caption();

    racket.set_caption("7");
    const QImage seven = face();
    EXPECT_FALSE(seven == first) << "the old score still shows";
    expect_piece(grab_court(), button.geometry(), kRed, true);

    racket.set_caption(score);
    EXPECT_TRUE(face() == first);
    button.setDown(true);
    EXPECT_FALSE(face() == first) << "a press does not show";
    button.setDown(false);
    EXPECT_TRUE(face() == first);

    racket.set_left(racket.left() + 40);
    EXPECT_TRUE(face() == first) << "the face changed with the move";
    racket.set_caption("7");
    racket.set_left(racket.left() - 40);
    EXPECT_TRUE(face() == seven);

    window().show();
    button.setFocusPolicy(Qt::StrongFocus);
    button.setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(button.hasFocus());
    EXPECT_FALSE(face() == seven) << "the focus does not show";
}

// The threads of this process that Qt's thread pool has started.
int pooled_threads() {
    int n = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        n += name.rfind("Thread (pooled)", 0) == 0;
    }
    return n;
}

// A rally repaints where the ball and the opponent's racket were and are,
// far apart; drawn place by place, no drawing is tall enough for Qt's raster
// engine to split it across a thread pool, whose threads would then wake.
TEST_F(CourtPixels, repaints_of_pieces_far_apart_start_no_other_thread) {
    window().show();
    QCoreApplication::processEvents();
    const int before = pooled_threads();
    for (int turn = 0; turn < 20; ++turn) {
        court.I_ball.set_top(static_cast<float>(300 - turn * 3));
        court.I_ball.set_left(static_cast<float>(100 + turn * 2));
        court.b_rack_opp.set_left(static_cast<float>(200 - turn * 2));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(pooled_threads(), before);
    expect_free_surface_is_the_centred_picture(2);
}

}  // namespace
}  // namespace window_test
