// The mouse on the court window: moves over the free surface steer the racket,
// moves over a piece stay with the piece, the wall bar takes clicks and the
// disabled goal bar takes none.
#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

namespace window_test {
namespace {

// The racket's left end as the reset leaves it relative to the pointer:
// the racket's width divided by the twips divisor 20.06, then halved.
constexpr double kHalfRacket = 47.99 / 20.06 / 2;

// The racket's left end for the pointer at pixel column x: x in points less half a racket.
double racket_left_for(int x) { return x * 0.75 - kHalfRacket; }

class CourtInput : public CourtWindow {
protected:
    void SetUp() override {
        court.start_settings();
        runtime.show(court);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
        handle = window().windowHandle();
        ASSERT_NE(handle, nullptr);
    }

    // A move as the window system delivers it to the court's window, with no button held.
    void pointer_to(QPoint at) { QTest::mouseMove(handle, at); }

    // A move event handed straight to one widget, at that widget's own coordinates.
    static void send_move(QWidget& target, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(target.mapToGlobal(at)), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(&target, &move);
    }

    QPoint centre_of(const toolkit::Control& control) { return widget(control).geometry().center(); }

    QWindow* handle = nullptr;
};

TEST_F(CourtInput, move_handed_to_the_form_puts_the_racket_under_the_pointer) {
    send_move(window(), QPoint(300, 300));
    EXPECT_NEAR(court.b_racket.left(), racket_left_for(300), 1e-3);
    EXPECT_NEAR(court.b_racket.left(), 223.804, 1e-3);
    // Only the racket's left moves; it stays on its line.
    EXPECT_NEAR(court.b_racket.top(), 366.75, 0.01);
}

TEST_F(CourtInput, moves_handed_to_a_piece_do_not_reach_the_form) {
    const float designed_left = court.b_racket.left();
    for (toolkit::Control* piece : {&court.b_racket, &court.I_ball, &court.b_wall, &court.b_goal, &court.b_rack_opp}) {
        SCOPED_TRACE(piece->name());
        QWidget& w = widget(*piece);
        send_move(w, w.rect().center());
        EXPECT_EQ(court.b_racket.left(), designed_left);
    }
}

TEST_F(CourtInput, moves_with_a_button_held_over_a_piece_do_not_reach_the_form) {
    const float designed_left = court.b_racket.left();
    for (toolkit::Control* piece : {&court.I_ball, &court.b_rack_opp, &court.b_goal}) {
        SCOPED_TRACE(piece->name());
        QWidget& w = widget(*piece);
        send_move(w, w.rect().center(), Qt::LeftButton);
        EXPECT_EQ(court.b_racket.left(), designed_left);
    }
    // Over the free surface the same drag steers.
    send_move(window(), QPoint(120, 200), Qt::LeftButton);
    EXPECT_NEAR(court.b_racket.left(), racket_left_for(120), 1e-3);
}

TEST_F(CourtInput, pointer_moving_over_the_field_steers_and_over_the_pieces_does_not) {
    pointer_to(QPoint(300, 150));
    ASSERT_NEAR(court.b_racket.left(), racket_left_for(300), 1e-3) << "the window system's move did not arrive";

    const float steered = court.b_racket.left();
    for (toolkit::Control* piece : {&court.I_ball, &court.b_rack_opp, &court.b_wall, &court.b_goal, &court.b_racket}) {
        SCOPED_TRACE(piece->name());
        pointer_to(centre_of(*piece) + QPoint(7, 0));
        EXPECT_EQ(court.b_racket.left(), steered);
    }

    pointer_to(QPoint(100, 420));
    EXPECT_NEAR(court.b_racket.left(), racket_left_for(100), 1e-3);
    // The widget follows the racket: its left edge is a pixel and a half left of the pointer.
    EXPECT_EQ(widget(court.b_racket).x(), px(racket_left_for(100)));
}

TEST_F(CourtInput, wall_bar_click_asks_the_rally_to_stop) {
    auto& wall = static_cast<QAbstractButton&>(widget(court.b_wall));
    QSignalSpy clicks(&wall, &QAbstractButton::clicked);
    ASSERT_FALSE(court.quit_game);
    QTest::mouseClick(handle, Qt::LeftButton, {}, centre_of(court.b_wall));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(court.quit_game);
}

TEST_F(CourtInput, goal_bar_is_disabled_and_a_click_on_it_does_nothing) {
    auto& goal = static_cast<QAbstractButton&>(widget(court.b_goal));
    EXPECT_FALSE(goal.isEnabled());
    QSignalSpy presses(&goal, &QAbstractButton::pressed);
    QSignalSpy clicks(&goal, &QAbstractButton::clicked);
    const float racket_left = court.b_racket.left();

    QTest::mouseClick(handle, Qt::LeftButton, {}, centre_of(court.b_goal));

    EXPECT_EQ(presses.count(), 0);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(court.quit_game);
    EXPECT_FALSE(goal.hasFocus());
    EXPECT_EQ(court.b_racket.left(), racket_left);
}

TEST_F(CourtInput, disabled_goal_bar_still_paints_dark_blue) {
    const QImage g = grab_court();
    const QRect goal = widget(court.b_goal).geometry();
    ASSERT_EQ(goal, px_rect(3.00, 394.0, 422.99, 15.0));
    for (const int x : {goal.left() + 3, goal.center().x(), goal.right() - 4})
        EXPECT_TRUE(pixel_is(g, x, goal.center().y(), kDarkBlue));
    EXPECT_GT(count_near(g, goal.adjusted(2, 2, -3, -3), kDarkBlue, 3), (goal.width() - 5) * (goal.height() - 5) * 9 / 10);
}

}  // namespace
}  // namespace window_test
