// The mouse on the court window: moves over the free surface steer the racket, moves over
// a piece do not; the wall bar takes clicks, the disabled goal bar none.
#include "window_test_support.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

namespace window_test {
namespace {

class CourtInput : public GameWindows {
protected:
    void SetUp() override {
        court.start_settings();
        runtime.show(court);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }
    // A move as the window system delivers it to the court's window.
    void pointer_to(QPoint at) { QTest::mouseMove(window().windowHandle(), at); }
    void click_on(const toolkit::Control& c) { QTest::mouseClick(window().windowHandle(), Qt::LeftButton, {}, at(c)); }
    QPoint at(const toolkit::Control& c) { return widget(c).geometry().center(); }
};

TEST_F(CourtInput, pointer_over_the_field_steers_the_racket_sideways_and_over_a_piece_does_not) {
    const float racket_top = court.b_racket.top();
    pointer_to(QPoint(300, 150));
    ASSERT_NEAR(court.b_racket.left(), racket_left_for(300), 1e-3) << "the window system's move did not arrive";
    EXPECT_EQ(court.b_racket.top(), racket_top);

    const float steered = court.b_racket.left();
    for (toolkit::Control* piece : {&court.I_ball, &court.b_rack_opp, &court.b_wall, &court.b_goal, &court.b_racket}) {
        pointer_to(at(*piece) + QPoint(7, 0));
        EXPECT_EQ(court.b_racket.left(), steered) << "moved over " << piece->name();
    }
    pointer_to(QPoint(100, 420));
    EXPECT_NEAR(court.b_racket.left(), racket_left_for(100), 1e-3);
    EXPECT_EQ(widget(court.b_racket).x(), to_pixels(racket_left_for(100)));  // the widget follows
    // A drag over the field steers as well: the button held is not looked at.
    QTest::mousePress(window().windowHandle(), Qt::LeftButton, {}, QPoint(100, 200));
    pointer_to(QPoint(120, 200));
    EXPECT_NEAR(court.b_racket.left(), racket_left_for(120), 1e-3);
    QTest::mouseRelease(window().windowHandle(), Qt::LeftButton, {}, QPoint(120, 200));
}

TEST_F(CourtInput, wall_bar_click_asks_the_rally_to_stop_and_a_click_on_the_disabled_goal_bar_does_nothing) {
    auto& goal = static_cast<QAbstractButton&>(widget(court.b_goal));
    QSignalSpy goal_presses(&goal, &QAbstractButton::pressed);
    const float racket_left = court.b_racket.left();
    click_on(court.b_goal);
    EXPECT_TRUE(!goal.isEnabled() && goal_presses.isEmpty() && !goal.hasFocus());
    EXPECT_EQ(court.b_racket.left(), racket_left);
    ASSERT_FALSE(court.quit_game);

    QSignalSpy wall_clicks(&static_cast<QAbstractButton&>(widget(court.b_wall)), &QAbstractButton::clicked);
    click_on(court.b_wall);
    EXPECT_EQ(wall_clicks.count(), 1);
    EXPECT_TRUE(court.quit_game);
}

}  // namespace
}  // namespace window_test
