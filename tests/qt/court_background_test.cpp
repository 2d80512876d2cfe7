// The court picture: centred on the window at its natural size, clipped, and
// covering the whole client area, so the pink back colour never shows.
#include "window_test_support.h"

#include <QPainter>

namespace window_test {
namespace {

// The 721 × 722 picture centred on the 573 × 554 window.
constexpr int kPictureDx = (721 - 573) / 2;  // 74
constexpr int kPictureDy = (722 - 554) / 2;  // 84

class CourtBackground : public CourtWindow {
protected:
    const QImage picture{":/art/court.jpg"};

    testing::AssertionResult shows_picture(const QImage& g, int x, int y) {
        return pixel_is(g, x, y, picture.pixelColor(x + kPictureDx, y + kPictureDy), 2);
    }
};

// Red: the net's head band and posts.
bool is_net_red(const QColor& c) { return c.red() > 110 && c.green() < 70 && c.blue() < 70; }

TEST_F(CourtBackground, picture_has_its_natural_size) {
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(721, 722));
}

TEST_F(CourtBackground, free_surface_shows_the_picture_pixel_for_pixel_at_minus_74_minus_84) {
    const QImage g = grab_court();
    // Corners, the edges of the client area and the field between the pieces.
    const QPoint points[] = {{0, 0},     {572, 0},   {0, 553},   {572, 553}, {2, 276},   {570, 276},
                             {150, 150}, {450, 200}, {100, 400}, {480, 450}, {100, 258}, {450, 262},
                             {20, 300},  {560, 320}, {200, 272}, {400, 280}};
    for (const QPoint p : points) {
        SCOPED_TRACE("court pixel " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        EXPECT_TRUE(shows_picture(g, p.x(), p.y()));
    }
}

TEST_F(CourtBackground, nets_head_band_crosses_the_court_at_rows_254_to_263) {
    const QImage g = grab_court();
    // The band is picture rows 338 to 347; centred, that is court rows 338 - 84 to 347 - 84.
    for (const int x : {10, 100, 250, 450, 560}) {
        SCOPED_TRACE("column " + std::to_string(x));
        for (int y = 254; y <= 263; ++y) EXPECT_TRUE(is_net_red(g.pixelColor(x, y))) << "row " << y;
        EXPECT_FALSE(is_net_red(g.pixelColor(x, 252)));
        EXPECT_FALSE(is_net_red(g.pixelColor(x, 265)));
        EXPECT_TRUE(pixel_is(g, x, 240, kCream));
    }
}

TEST_F(CourtBackground, field_outside_the_net_and_the_pieces_is_cream) {
    const QImage g = grab_court();
    for (const int y : {32, 100, 200, 240, 345, 400, 470, 520, 553}) {
        SCOPED_TRACE("row " + std::to_string(y));
        for (const int x : {1, 30, 120, 420, 571}) EXPECT_TRUE(pixel_is(g, x, y, kCream));
    }
}

TEST_F(CourtBackground, pink_back_colour_never_shows) {
    const QImage g = grab_court();
    EXPECT_EQ(count_near(g, g.rect(), kPink, 6), 0);
    court.start_settings();
    const QImage after_reset = grab_court();
    EXPECT_EQ(count_near(after_reset, after_reset.rect(), kPink, 6), 0);
}

TEST_F(CourtBackground, whole_free_surface_is_the_picture_drawn_centred_and_unscaled) {
    // Draw what the court should show: the picture at (-74, -84), then every
    // piece's widget over it. Equal grabs mean the window adds and scales nothing.
    const QImage g = grab_court();
    QImage expected(g.size(), QImage::Format_RGB32);
    {
        QPainter p(&expected);
        p.fillRect(expected.rect(), kPink);
        p.drawImage(-kPictureDx, -kPictureDy, picture);
    }
    int differing = 0;
    const QRegion pieces = [&] {
        QRegion r;
        for (const auto& c : court.controls()) r += widget(*c).geometry();
        return r;
    }();
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            if (!pieces.contains(QPoint(x, y)) && !near(g.pixelColor(x, y), expected.pixelColor(x, y), 2)) ++differing;
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace window_test
