#pragma once

// What the window tests share: the game's forms on the real Qt backend, the
// mapping from points to pixels, and colour checks on grabbed pictures.

#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/qt_runtime.h"

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QRect>
#include <QString>
#include <cmath>
#include <stdexcept>
#include <gtest/gtest.h>

namespace window_test {

// Points to device-independent pixels (96 per inch), rounded.
inline int px(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

// A rectangle in points as pixels, each edge rounded on its own.
inline QRect px_rect(double left, double top, double width, double height) {
    const int l = px(left), t = px(top);
    return QRect(l, t, px(left + width) - l, px(top + height) - t);
}

inline const QColor kCream(255, 248, 240);        // the court picture's field
inline const QColor kPink(255, 192, 192);         // the court's back colour
inline const QColor kRed(255, 0, 0);              // player's racket, wall bar
inline const QColor kBlue(0, 0, 255);             // opponent's racket
inline const QColor kDarkBlue(0, 0, 192);         // goal bar
inline const QColor kBallGreen(215, 235, 80);     // the middle of the tennis ball
inline const QColor kButtonFace(236, 233, 216);   // system button face as the game draws it
inline const QColor kScrollBar(212, 208, 200);    // system scroll-bar colour as the game draws it

inline QString rgb_text(const QColor& c) {
    return QString("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

inline bool near(const QColor& c, const QColor& want, int tolerance) {
    return std::abs(c.red() - want.red()) <= tolerance && std::abs(c.green() - want.green()) <= tolerance &&
           std::abs(c.blue() - want.blue()) <= tolerance;
}

// The pixel at (x, y) of a grab is `want`, give or take `tolerance` per channel.
inline testing::AssertionResult pixel_is(const QImage& image, int x, int y, const QColor& want, int tolerance = 3) {
    if (!image.rect().contains(x, y))
        return testing::AssertionFailure() << "pixel (" << x << "," << y << ") is outside the grab";
    const QColor c = image.pixelColor(x, y);
    if (near(c, want, tolerance)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << rgb_text(c).toStdString()
                                       << ", expected " << rgb_text(want).toStdString() << " ±" << tolerance;
}

inline testing::AssertionResult pixel_is_not(const QImage& image, int x, int y, const QColor& unwanted,
                                             int tolerance = 3) {
    const QColor c = image.pixelColor(x, y);
    if (!near(c, unwanted, tolerance)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << rgb_text(c).toStdString()
                                       << ", close to the unwanted " << rgb_text(unwanted).toStdString();
}

// How many pixels inside `area` are within `tolerance` of `colour`.
inline int count_near(const QImage& image, const QRect& area, const QColor& colour, int tolerance) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (near(image.pixelColor(x, y), colour, tolerance)) ++n;
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

// Text drawn in the system button-text colour (black), antialiased.
inline bool is_dark_text(const QColor& c) { return c.red() < 110 && c.green() < 110 && c.blue() < 110; }

// The game's two forms on the Qt backend, loaded and not yet shown. The
// program is left at the end, as the exit button leaves it, so every window
// is gone before the next test.
class GameWindows : public testing::Test {
protected:
    ~GameWindows() override {
        program.leave();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    toolkit::qt::FormWindow& window_of(const toolkit::Form& form) {
        toolkit::qt::FormWindow* window = runtime.window_of(form);
        if (!window) throw std::runtime_error(form.name() + " has no window");
        return *window;
    }

    QWidget& widget_of(const toolkit::Form& form, const toolkit::Control& control) {
        QWidget* widget = window_of(form).widget_of(control);
        if (!widget) throw std::runtime_error(control.name() + " has no widget");
        return *widget;
    }

    toolkit::qt::QtRuntime runtime;
    forms::Program program{runtime};
};

// The court as loaded: design state, unshown.
class CourtWindow : public GameWindows {
protected:
    QImage grab_court() { return window().grab().toImage(); }
    toolkit::qt::FormWindow& window() { return window_of(court); }
    QWidget& widget(const toolkit::Control& control) { return widget_of(court, control); }

    forms::frm_court& court = program.court();
};

}  // namespace window_test
