// The court on a screen of twice the usual pixel density (run with
// QT_SCALE_FACTOR=2): every length doubles in device pixels, the picture is
// drawn at twice its size, and the game's geometry in points stays the same.
#include "window_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace window_test {
namespace {

class HighDpiCourt : public CourtWindow {
protected:
    void SetUp() override {
        ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "these tests expect QT_SCALE_FACTOR=2";
    }

    // A grab in device pixels, and the device pixel for a device-independent one.
    QImage grab_device_pixels() { return window().grab().toImage(); }
    static QPoint device(int x, int y) { return QPoint(2 * x, 2 * y); }
};

bool is_net_red(const QColor& c) { return c.red() > 110 && c.green() < 70 && c.blue() < 70; }

TEST_F(HighDpiCourt, court_grabs_at_1146_by_1108_device_pixels) {
    const QPixmap grab = window().grab();
    EXPECT_EQ(grab.size(), QSize(1146, 1108));
    EXPECT_EQ(grab.devicePixelRatio(), 2.0);
    EXPECT_EQ(window().size(), QSize(573, 554));
}

TEST_F(HighDpiCourt, picture_is_drawn_at_twice_its_size_still_centred) {
    const QImage g = grab_device_pixels();
    const QImage picture(":/art/court.jpg");
    for (const QPoint p : {QPoint(0, 0), QPoint(150, 150), QPoint(450, 200), QPoint(100, 258), QPoint(560, 300),
                           QPoint(480, 450), QPoint(572, 553)}) {
        SCOPED_TRACE("court pixel " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        const QColor want = picture.pixelColor(p + QPoint(74, 84));
        EXPECT_TRUE(pixel_is(g, device(p.x(), p.y()).x(), device(p.x(), p.y()).y(), want, 12));
    }
    // The net's head band, court rows 254 to 263, is device rows 508 to 527.
    for (int y = 510; y <= 525; ++y) EXPECT_TRUE(is_net_red(g.pixelColor(200, y))) << "row " << y;
    EXPECT_FALSE(is_net_red(g.pixelColor(200, 503)));
    EXPECT_FALSE(is_net_red(g.pixelColor(200, 531)));
    EXPECT_EQ(count_near(g, g.rect(), kPink, 6), 0);
}

TEST_F(HighDpiCourt, pieces_stand_at_twice_their_pixel_places) {
    const QImage g = grab_device_pixels();
    auto at = [&](double x_pt, double y_pt) { return device(px(x_pt), px(y_pt)); };
    const QPoint wall = at(214, 12), goal = at(214, 405), racket = at(175, 375.75), opponent = at(184, 39),
                 ball = at(255, 237);
    EXPECT_TRUE(pixel_is(g, wall.x(), wall.y(), kRed));
    EXPECT_TRUE(pixel_is(g, goal.x(), goal.y(), kDarkBlue));
    EXPECT_TRUE(pixel_is(g, racket.x(), racket.y(), kRed));
    EXPECT_TRUE(pixel_is(g, opponent.x(), opponent.y(), kBlue));
    EXPECT_TRUE(pixel_is(g, ball.x(), ball.y(), kBallGreen, 30));
    // The goal bar's last row of 414 points is device row 1103, and the field lies below it.
    EXPECT_TRUE(pixel_is(g, goal.x(), 2 * px(414) + 1, kCream));
    EXPECT_TRUE(pixel_is_not(g, goal.x(), 2 * px(414) - 6, kCream, 20));
}

TEST_F(HighDpiCourt, pointer_positions_and_pieces_are_in_the_same_points_as_on_a_normal_screen) {
    court.start_settings();
    runtime.show(court);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    EXPECT_EQ(widget(court.b_racket).geometry(), px_rect(171.01, 366.75, 47.99, 18.00));
    EXPECT_EQ(widget(court.I_ball).geometry(), px_rect(214.16, 206.98, 42.01, 42.01));

    QTest::mouseMove(window().windowHandle(), QPoint(300, 150));
    EXPECT_NEAR(court.b_racket.left(), 300 * 0.75 - 47.99 / 20.06 / 2, 1e-3);
    EXPECT_EQ(widget(court.b_racket).x(), px(300 * 0.75 - 47.99 / 20.06 / 2));
}

}  // namespace
}  // namespace window_test
