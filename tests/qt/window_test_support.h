#pragma once

// What the window tests share: the game's forms on the real Qt backend, the
// product's mapping from points to pixels, and colour checks on grabbed pictures.

#include "engine/court_rules.h"
#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/qt_look.h"
#include "toolkit/qt/qt_runtime.h"
#include "toolkit/units.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <gtest/gtest.h>

namespace window_test {

using toolkit::qt::to_pixel_rect;
using toolkit::qt::to_pixels;

// Where a control's widget stands in pixels.
inline QRect pixel_rect_of(const toolkit::Control& c) { return to_pixel_rect({c.left(), c.top(), c.width(), c.height()}); }

// The racket's left end for the pointer at pixel column x: x in points less
// half the racket's 47.99 points, divided as the court divides its field.
// (At the screen's scale: 1 unless the court does not fit its screen.)
inline double racket_left_for(int x) {
    return x / (toolkit::kPixelsPerPoint * toolkit::qt::screen_scale()) - 47.99 / engine::kTwipsPerFieldPoint / 2;
}

// The court picture's field, the court's back colour, the rackets and bars, the middle of the
// tennis ball, and the system colours as the game draws them.
inline const QColor kCream(255, 248, 240), kPink(255, 192, 192), kRed(255, 0, 0), kBlue(0, 0, 255),
    kDarkBlue(0, 0, 192), kBallGreen(215, 235, 80), kButtonFace(236, 233, 216), kScrollBar(212, 208, 200);

// The 721 × 722 court picture centred on the 573 × 554 court: court pixel p shows picture pixel p + offset.
inline const QPoint kPictureOffset((721 - 573) / 2, (722 - 554) / 2);

inline bool near(const QColor& c, const QColor& want, int tolerance) {
    return std::max({std::abs(c.red() - want.red()), std::abs(c.green() - want.green()),
                     std::abs(c.blue() - want.blue())}) <= tolerance;
}

// The pixel at (x, y) of a grab is `want` (with `is` false: is not), give or take `tolerance` per channel.
inline testing::AssertionResult pixel_is(const QImage& image, int x, int y, const QColor& want, int tolerance = 3,
                                         bool is = true) {
    const QColor c = image.rect().contains(x, y) ? image.pixelColor(x, y) : QColor();
    if (c.isValid() && near(c, want, tolerance) == is) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << c.name().toStdString()
                                       << (is ? ", expected " : ", unwanted ") << want.name().toStdString();
}

// How many pixels inside `area` are within `tolerance` of `colour`.
inline int count_near(const QImage& image, const QRect& area, const QColor& colour, int tolerance) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += near(image.pixelColor(x, y), colour, tolerance);
    return n;
}

// The bounding box of the pixels inside `area` that `test` picks.
template <class Test>
QRect bounds_of(const QImage& image, const QRect& area, Test test) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

// The game's two forms on the Qt backend, loaded and not yet shown. The
// program is left at the end, as the exit button leaves it, so every window
// is gone before the next test.
class GameWindows : public testing::Test {
protected:
    ~GameWindows() override {
        program.leave();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <class T>
    static T& must(T* p, const std::string& what) { return p ? *p : throw std::runtime_error(what + " is missing"); }
    toolkit::qt::FormWindow& window_of(const toolkit::Form& f) { return must(runtime.window_of(f), f.name()); }
    QWidget& widget_of(const toolkit::Form& f, const toolkit::Control& c) {
        return must(window_of(f).widget_of(c), c.name());
    }
    toolkit::qt::FormWindow& window() { return window_of(court); }
    QWidget& widget(const toolkit::Control& control) { return widget_of(court, control); }
    QImage grab_court() { return window().grab().toImage(); }

    // Every device pixel outside the pieces is the picture centred at its natural size over the
    // pink (shrunk with the court on a screen too small for it): a picture stretched, tiled,
    // shifted or missing shows as a difference, and so does a square drawn around the round ball.
    void expect_free_surface_is_the_centred_picture(int tolerance) {
        const QImage g = grab_court();
        const qreal ratio = g.devicePixelRatio();
        QImage expected(g.size(), QImage::Format_RGB32);
        expected.setDevicePixelRatio(ratio);
        QPainter painter(&expected);
        painter.fillRect(QRect(QPoint(), window().size()), kPink);
        if (const double scale = toolkit::qt::screen_scale(); scale != 1.0) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.scale(scale, scale);
        }
        painter.drawImage(-kPictureOffset, picture);
        QRegion pieces;
        for (const auto& c : court.controls())  // the ball's antialiased rim reaches a pixel past its circle
            pieces += c.get() == &court.I_ball ? QRegion(widget(*c).geometry().adjusted(-1, -1, 1, 1), QRegion::Ellipse)
                                               : QRegion(widget(*c).geometry());
        int differing = 0;
        for (int y = 0; y < g.height(); ++y)
            for (int x = 0; x < g.width(); ++x)
                differing += !pieces.contains(QPoint(int(x / ratio), int(y / ratio))) &&
                             !near(g.pixelColor(x, y), expected.pixelColor(x, y), tolerance);
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(count_near(g, g.rect(), kPink, 6), 0);
    }

    toolkit::qt::QtRuntime runtime;
    forms::Program program{runtime};
    forms::frm_court& court = program.court();
    forms::frm_hello& hello = program.hello();
    const QImage picture{":/art/court.jpg"};
};

}  // namespace window_test
