// Racket clicks nest whole rallies inside each other on the real backend:
// a thousand levels deep they must neither exhaust the stack nor keep the
// program from ending at once when asked from the innermost one.
#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/qt_runtime.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Clicks the racket as a real press and release would, once per timer shot;
// every click starts a rally inside the one that is running.
struct RacketClicker {
    toolkit::qt::QtRuntime& runtime;
    QWidget* racket;
    int target;
    int clicks = 0;
    std::function<void()> on_deepest;

    void next() {
        if (clicks == target) {
            on_deepest();
            return;
        }
        ++clicks;
        QTimer::singleShot(0, [this] { next(); });
        const QPointF centre(racket->width() / 2.0, racket->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, centre, racket->mapToGlobal(centre), Qt::LeftButton,
                          Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, centre, racket->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, {});
        QCoreApplication::sendEvent(racket, &press);
        QCoreApplication::sendEvent(racket, &release);
    }
};

TEST(QtNesting, a_thousand_nested_racket_clicks_end_cleanly_from_the_innermost_rally) {
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    auto& court = program.court();
    runtime.show(court);
    // Enough pumps per frame that every rally delivers the next click within
    // its first turn, long before any game could end by itself.
    court.delay_ini = 300.0;
    court.Delay_game = 300.0 + 10 * 1000;

    RacketClicker clicker{runtime, runtime.window_of(court)->widget_of(court.b_racket), 1000, 0, {}};
    bool messages_shown = false;
    clicker.on_deepest = [&] {
        messages_shown = runtime.open_box() != nullptr;
        program.leave();
    };
    QTimer::singleShot(0, [&] { clicker.next(); });

    EXPECT_EQ(runtime.run(), 0);
    EXPECT_EQ(clicker.clicks, 1000);
    EXPECT_FALSE(messages_shown);
    EXPECT_TRUE(runtime.ending());
    // Each click took ten pumps off every frame of the rallies that followed.
    EXPECT_DOUBLE_EQ(court.Delay_game.value(), 300.0);
}

}  // namespace
