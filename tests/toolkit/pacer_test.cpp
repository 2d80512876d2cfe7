#include "toolkit/qt/pacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

using toolkit::Pacer;
using Clock = Pacer::Clock;
using namespace std::chrono;
constexpr Clock::duration kNoSleep = Clock::duration::zero();

// Drives a pacer the way the Qt backend does: count every pump, and at each
// delivery ask how long to sleep, on a clock the test moves by hand.
struct PacedLoop {
    Pacer pacer;
    Clock::time_point now = Clock::time_point{} + hours(7);
    std::vector<Clock::duration> asked;  // the sleep asked at each delivery
    bool sleep_as_asked = false;

    // Runs `n` pumps; returns the sleep asked at the last delivery among them.
    Clock::duration pump(std::uint64_t n) {
        Clock::duration last = Clock::duration::min();
        for (std::uint64_t i = 0; i < n; ++i) {
            if (!pacer.count_pump()) continue;
            asked.push_back(last = pacer.sleep_before_delivery(now));
            if (sleep_as_asked) now += last;
        }
        return last;
    }
};

TEST(Pacer, window_events_are_due_on_every_250th_pump_and_the_first_delivery_never_sleeps) {
    Pacer p;
    std::vector<int> due;
    for (int i = 1; i <= 100'000; ++i)
        if (p.count_pump() && i <= 1000) due.push_back(i);
    EXPECT_EQ(due, (std::vector<int>{250, 500, 750, 1000}));
    EXPECT_EQ(p.sleep_before_delivery(Clock::time_point{} + seconds(3)), kNoSleep);  // 100 ms of budget already
}

// After the first delivery (pump 250) starts the clock: `before` pumps, the clock
// moves on, `after` pumps; the sleep asked at the last delivery. Pumps cost no time.
TEST(Pacer, a_lead_over_a_millisecond_is_slept_off_a_lag_caught_up_and_a_stall_starts_afresh) {
    const struct { const char* what; std::uint64_t before, after; Clock::duration clock_moves, sleep; } table[] = {
        {"5 ms ahead", 4750, 250, kNoSleep, milliseconds(5)},
        {"just over 1 ms ahead", 4750, 250, milliseconds(4) - nanoseconds(1), milliseconds(1) + nanoseconds(1)},
        {"exactly 1 ms ahead", 4750, 250, milliseconds(4), kNoSleep},
        {"50 ms behind, catching up without sleeping", 0, 2250, milliseconds(50), kNoSleep},
        {"50 ms behind, made up, then 2 ms ahead", 0, 52'000, milliseconds(50), milliseconds(2)},
        {"99 ms behind, catching up", 0, 2250, milliseconds(99), kNoSleep},
        // A stall (a modal box was open): counted from there, with no burst to make up.
        {"101 ms stall", 0, 2250, milliseconds(101), milliseconds(2)},
        {"1 s stall", 0, 2250, seconds(1), milliseconds(2)},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        PacedLoop loop;
        ASSERT_EQ(loop.pump(250), kNoSleep);
        loop.pump(row.before);
        loop.now += row.clock_moves;
        EXPECT_EQ(loop.pump(row.after), row.sleep);
    }
}

TEST(Pacer, sleeping_as_asked_keeps_real_time_with_the_budget) {
    PacedLoop loop;
    loop.sleep_as_asked = true;
    const Clock::time_point started = loop.now;
    loop.pump(100'000);  // 100 ms of budget
    // Everything after the first delivery is slept off, except the last lead
    // of at most a millisecond not yet due for a sleep.
    EXPECT_GE(loop.now - started, milliseconds(100) - microseconds(250) - milliseconds(1));
    EXPECT_LE(loop.now - started, milliseconds(100) - microseconds(250));
    for (auto s : loop.asked) EXPECT_LE(s, milliseconds(1) + microseconds(250));
}

}  // namespace
