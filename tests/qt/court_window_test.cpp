// The court window itself: its size, title and the places of its pieces.
#include "window_test_support.h"

#include <QTest>
#include <QWindow>

namespace window_test {
namespace {

using CourtWindowFrame = CourtWindow;

TEST_F(CourtWindowFrame, client_area_is_573_by_554_pixels_and_cannot_be_resized) {
    auto& w = window();
    EXPECT_EQ(w.size(), QSize(573, 554));
    EXPECT_EQ(w.minimumSize(), QSize(573, 554));
    EXPECT_EQ(w.maximumSize(), QSize(573, 554));
}

TEST_F(CourtWindowFrame, keeps_its_size_once_shown) {
    runtime.show(court);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    EXPECT_EQ(window().size(), QSize(573, 554));
    EXPECT_EQ(window().grab().size(), QSize(573, 554));
}

TEST_F(CourtWindowFrame, title_is_the_designed_caption) {
    EXPECT_EQ(window().windowTitle(), QString("Quindle1 - frm_court (Form)"));
}

TEST_F(CourtWindowFrame, form_reports_its_client_area_in_twips) {
    EXPECT_EQ(court.width_twips(), 8592.0f);
    EXPECT_EQ(court.height_twips(), 8304.0f);
    // Twips are 1/20 point and pixels 3/4 point: the window shows exactly that area.
    EXPECT_EQ(window().width(), px(court.width_twips() / 20.0));
    EXPECT_EQ(window().height(), px(court.height_twips() / 20.0));
}

struct PiecePlace {
    const char* name;
    toolkit::Control& (*control)(forms::frm_court&);
    double left, top, width, height;  // points, as designed
};

const PiecePlace kDesignedPlaces[] = {
    {"I_ball", [](forms::frm_court& c) -> toolkit::Control& { return c.I_ball; }, 234.00, 216.00, 42.01, 42.01},
    {"b_racket", [](forms::frm_court& c) -> toolkit::Control& { return c.b_racket; }, 171.01, 366.75, 47.99, 18.00},
    {"b_wall", [](forms::frm_court& c) -> toolkit::Control& { return c.b_wall; }, 3.00, 3.00, 422.99, 18.00},
    {"b_goal", [](forms::frm_court& c) -> toolkit::Control& { return c.b_goal; }, 3.00, 396.00, 422.99, 18.00},
    {"b_rack_opp", [](forms::frm_court& c) -> toolkit::Control& { return c.b_rack_opp; }, 180.00, 29.99, 47.99, 18.00},
};

TEST_F(CourtWindowFrame, every_piece_has_a_widget_at_its_designed_place) {
    for (const PiecePlace& piece : kDesignedPlaces) {
        SCOPED_TRACE(piece.name);
        const QWidget& w = widget(piece.control(court));
        EXPECT_EQ(w.geometry(), px_rect(piece.left, piece.top, piece.width, piece.height));
        EXPECT_FALSE(w.isHidden());
    }
}

TEST_F(CourtWindowFrame, widgets_follow_the_reset_in_pixels) {
    court.start_settings();
    // The ball's corner goes to the middle of the field, 8592 / 20.06 / 2 by 8304 / 20.06 / 2 points.
    EXPECT_EQ(widget(court.I_ball).geometry(), px_rect(214.157, 206.98, 42.01, 42.01));
    EXPECT_EQ(widget(court.b_wall).geometry(), px_rect(3.00, 3.00, 422.99, 15.0));
    EXPECT_EQ(widget(court.b_goal).geometry(), px_rect(3.00, 394.0, 422.99, 15.0));
    EXPECT_EQ(widget(court.b_goal).geometry().bottom(), 544);  // 409 pt is pixel 545.33: the bar ends above row 545
}

TEST_F(CourtWindowFrame, tab_order_starts_at_the_racket_and_skips_the_goal_bar_and_the_ball) {
    runtime.show(court);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QWindow* handle = window().windowHandle();

    // The court's own focus: the welcome form may come up over it and take the active window.
    std::vector<QWidget*> visited{window().focusWidget()};
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(handle, Qt::Key_Tab);
        visited.push_back(window().focusWidget());
    }
    const std::vector<QWidget*> expected{&widget(court.b_racket), &widget(court.b_wall), &widget(court.b_rack_opp),
                                         &widget(court.b_racket)};
    EXPECT_EQ(visited, expected);
}

}  // namespace
}  // namespace window_test
