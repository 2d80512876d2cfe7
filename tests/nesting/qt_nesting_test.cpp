// Racket clicks nest whole rallies inside each other on the real backend:
// a thousand levels deep they must neither exhaust the stack nor keep the
// program from ending at once when asked from the innermost one; and the
// click the stack has no room for is a run-time error, never a crash.
#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/qt_runtime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Clicks the racket as a real press and release would, once per timer shot;
// every click starts a rally inside the one that is running. Stops at the
// target, or at the first box that opens.
struct RacketClicker {
    toolkit::qt::QtRuntime& runtime;
    QWidget* racket;
    int target;
    int clicks = 0;
    std::function<void()> on_deepest;

    void next() {
        if (clicks == target || runtime.open_box()) {
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

TEST(QtNesting, a_click_the_stack_has_no_room_for_shows_the_run_time_error_and_the_rallies_go_on) {
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    auto& court = program.court();
    runtime.show(court);
    // A stack with a megabyte of room above the reserve: a few hundred rallies.
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    runtime.set_stack_bounds({here - toolkit::StackGuard::kReserveBytes - (std::uintptr_t{1} << 20), here + 4096});
    court.delay_ini = 300.0;
    court.Delay_game = 300.0 + 10 * 1000;

    RacketClicker clicker{runtime, runtime.window_of(court)->widget_of(court.b_racket), 1000, 0, {}};
    QString error;
    float ball_left_at_close = 0;
    bool ball_moved = false;
    clicker.on_deepest = [&] {
        if (auto* box = qobject_cast<QMessageBox*>(runtime.open_box())) {
            error = box->text();
            box->button(QMessageBox::Ok)->click();
        }
        ball_left_at_close = court.I_ball.left();
        QTimer::singleShot(200, [&] {
            ball_moved = court.I_ball.left() != ball_left_at_close;
            program.leave();
        });
    };
    QTimer::singleShot(0, [&] { clicker.next(); });

    EXPECT_EQ(runtime.run(), 0);
    EXPECT_EQ(error.toStdString(), "Ошибка выполнения: Недостаточно места в стеке");
    EXPECT_GT(clicker.clicks, 100);
    EXPECT_LT(clicker.clicks, 1000);
    // The refused click changed nothing: every click before it took ten pumps off.
    EXPECT_DOUBLE_EQ(court.Delay_game.value(), 300.0 + 10 * (1000 - (clicker.clicks - 1)));
    EXPECT_TRUE(ball_moved) << "the rallies stopped with the error";
}

}  // namespace
