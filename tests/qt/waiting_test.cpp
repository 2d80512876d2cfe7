// How the Qt backend waits: for a frame's deadline, with window events
// handled as they arrive, and with a wake for every wait even when the kernel
// gives no timer.
#include "toolkit/qt/deadline_timer.h"
#include "toolkit/qt/qt_runtime.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Runs the event loop, sleeping in it, until `done` or the rescue time.
// True if the loop got there by itself.
bool wait_in_event_loop(const std::function<bool()>& done, std::chrono::milliseconds rescue) {
    bool rescued = false;
    QTimer::singleShot(rescue, [&] { rescued = true; });
    while (!done() && !rescued) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !rescued;
}

TEST(DeadlineTimer, with_no_file_descriptor_left_for_its_kernel_timer_it_still_wakes_the_loop_at_its_deadline) {
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    // The lowest free descriptor becomes the limit: the next one cannot be had.
    const int free_fd = dup(0);
    ASSERT_GE(free_fd, 0);
    close(free_fd);
    rlimit none_left = limit;
    none_left.rlim_cur = static_cast<rlim_t>(free_fd);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none_left), 0);
    toolkit::qt::DeadlineTimer timer;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    ASSERT_FALSE(timer.precise());

    const Clock::time_point deadline = Clock::now() + 30ms;
    timer.arm(deadline);
    EXPECT_TRUE(wait_in_event_loop([&] { return Clock::now() >= deadline; }, 5000ms));
}

// Waits a turn apart, as a rally's: each wakes at its deadline, whether the
// timer was set for it or repeats to it, and a change of turn length is
// followed. Once nobody waits, the repeating timer stops: the loop then sleeps
// until the test's own timer, waking at most once more for a last repeat.
TEST(DeadlineTimer, wakes_at_every_turn_of_a_rally_and_stops_repeating_when_the_rally_stops) {
    toolkit::qt::DeadlineTimer timer;
    ASSERT_TRUE(timer.precise());
    Clock::time_point deadline = Clock::now() + 5ms;
    for (const auto turn : {3330us, 3330us, 3330us, 3330us, 16650us, 16650us, 16650us, 3330us, 3330us}) {
        timer.arm(deadline);
        EXPECT_TRUE(wait_in_event_loop([&] { return Clock::now() >= deadline; }, 5000ms));
        deadline += turn;
    }
    bool over = false;
    QTimer::singleShot(200ms, [&] { over = true; });
    int wakes = 0;
    while (!over) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        ++wakes;
    }
    // 200 ms of 3.33 ms repeats would be some 60 wakes.
    EXPECT_LE(wakes, 3);
}

// Events that arrive during a frame's wait are handled as they arrive, not
// when the wait is over: a chain of events, each posted by the one before,
// is handled whole within the wait of one frame.
TEST(PacedPumping, events_that_arrive_during_a_frames_wait_are_handled_within_it) {
    toolkit::qt::QtRuntime runtime;
    constexpr int kChain = 20;
    int handled = 0;
    std::function<void()> next = [&] {
        if (++handled < kChain) QTimer::singleShot(0, next);
    };
    QTimer::singleShot(0, next);
    // Most of the lead cap's worth of budget: the frame ends in one long wait.
    for (std::uint32_t i = 0; i < 35'000; ++i) runtime.pump();
    runtime.end_frame();
    EXPECT_EQ(handled, kChain);
}

}  // namespace
