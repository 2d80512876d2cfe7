#include "toolkit/qt/pacer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

using toolkit::Pacer;
using Clock = Pacer::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

// Drives a pacer the way the Qt backend does: count every pump, and at each
// delivery ask how long to sleep, on a clock the test moves by hand.
struct PacedLoop {
    Pacer pacer;
    Clock::time_point now = Clock::time_point{} + std::chrono::hours(7);
    std::vector<Clock::duration> asked;  // the sleep asked at each delivery
    bool sleep_as_asked = false;         // advance the clock by each sleep asked

    // Runs `n` pumps; returns the sleep asked at the last delivery among them.
    Clock::duration pump(std::uint64_t n) {
        Clock::duration last = Clock::duration::min();
        for (std::uint64_t i = 0; i < n; ++i) {
            if (!pacer.count_pump()) continue;
            last = pacer.sleep_before_delivery(now);
            asked.push_back(last);
            if (sleep_as_asked) now += last;
        }
        return last;
    }
};

TEST(Pacer, window_events_are_due_on_every_250th_pump_only) {
    Pacer p;
    std::vector<int> due;
    for (int i = 1; i <= 1000; ++i)
        if (p.count_pump()) due.push_back(i);
    EXPECT_EQ(due, (std::vector<int>{250, 500, 750, 1000}));
}

TEST(Pacer, the_first_delivery_never_sleeps) {
    Pacer p;
    for (int i = 0; i < 100'000; ++i) p.count_pump();  // 100 ms of budget already
    EXPECT_EQ(p.sleep_before_delivery(Clock::time_point{} + seconds(3)), Clock::duration::zero());
}

TEST(Pacer, pumps_ahead_of_real_time_sleep_until_the_budget_catches_up) {
    struct Row {
        Clock::duration elapsed;  // real time passed over 5000 pumps
        Clock::duration sleep;
    };
    const Row table[] = {
        {Clock::duration::zero(), milliseconds(5)},
        {milliseconds(1), milliseconds(4)},
        {microseconds(2500), microseconds(2500)},
        {microseconds(3999), microseconds(1001)},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(std::chrono::duration_cast<microseconds>(row.elapsed).count());
        PacedLoop loop;
        ASSERT_EQ(loop.pump(250), Clock::duration::zero());  // the first delivery starts the clock
        loop.pump(5000 - 250);
        loop.now += row.elapsed;
        EXPECT_EQ(loop.pump(250), row.sleep);
    }
}

TEST(Pacer, pumps_at_most_a_millisecond_ahead_do_not_sleep) {
    PacedLoop loop;
    loop.pump(250);
    EXPECT_EQ(loop.pump(1000), Clock::duration::zero());  // exactly 1 ms ahead
    for (auto s : loop.asked) EXPECT_EQ(s, Clock::duration::zero());

    // A nanosecond more, and the whole lead is slept off.
    loop.now += microseconds(250) - nanoseconds(1);
    EXPECT_EQ(loop.pump(250), microseconds(1000) + nanoseconds(1));
}

TEST(Pacer, pumps_at_real_time_pace_never_sleep) {
    PacedLoop loop;
    for (int delivery = 0; delivery < 400; ++delivery) {
        loop.pump(250);
        loop.now += microseconds(250);
    }
    ASSERT_EQ(loop.asked.size(), 400u);
    for (auto s : loop.asked) EXPECT_EQ(s, Clock::duration::zero());
}

TEST(Pacer, sleeping_as_asked_keeps_real_time_with_the_budget) {
    PacedLoop loop;
    loop.sleep_as_asked = true;
    const Clock::time_point started = loop.now;
    loop.pump(100'000);  // 100 ms of budget with pumps that cost no time
    const auto slept = loop.now - started;
    // Everything after the first delivery is slept off, except the last lead
    // of at most a millisecond not yet due for a sleep.
    EXPECT_GE(slept, milliseconds(100) - microseconds(250) - milliseconds(1));
    EXPECT_LE(slept, milliseconds(100) - microseconds(250));
    for (auto s : loop.asked) EXPECT_LE(s, milliseconds(1) + microseconds(250));
}

TEST(Pacer, a_short_lag_is_made_up_by_pumping_without_sleeping) {
    PacedLoop loop;
    loop.pump(250);
    loop.now += milliseconds(50);  // real time 50 ms ahead of the budget
    EXPECT_EQ(loop.pump(50'000), Clock::duration::zero());
    // Budget and real time are level again: further pumps run ahead and sleep.
    EXPECT_EQ(loop.pump(2000), milliseconds(2));
}

TEST(Pacer, after_a_stall_it_starts_afresh_without_a_burst_or_a_sleep) {
    PacedLoop loop;
    loop.pump(250);
    loop.pump(3000);  // 3 ms ahead of a frozen clock
    loop.now += seconds(1);  // a modal box was open for a second
    EXPECT_EQ(loop.pump(250), Clock::duration::zero());
    // Counted from the stall, not from the old start: 2 ms of pumps at a
    // frozen clock are 2 ms ahead, so they sleep rather than run on for a second.
    EXPECT_EQ(loop.pump(2000), milliseconds(2));
}

TEST(Pacer, a_lag_just_past_a_tenth_of_a_second_counts_as_a_stall) {
    struct Row {
        Clock::duration lag;
        Clock::duration sleep_after_2ms_of_pumps;
    };
    const Row table[] = {
        {milliseconds(99), Clock::duration::zero()},  // still catching up
        {milliseconds(101), milliseconds(2)},         // reset at the stall
    };
    for (const Row& row : table) {
        SCOPED_TRACE(std::chrono::duration_cast<milliseconds>(row.lag).count());
        PacedLoop loop;
        loop.pump(250);
        loop.now += row.lag + microseconds(250);
        EXPECT_EQ(loop.pump(250), Clock::duration::zero());
        EXPECT_EQ(loop.pump(2000), row.sleep_after_2ms_of_pumps);
    }
}

TEST(Pacer, every_stall_resets_again) {
    PacedLoop loop;
    loop.pump(250);
    for (int stall = 0; stall < 3; ++stall) {
        SCOPED_TRACE(stall);
        loop.now += seconds(2);
        EXPECT_EQ(loop.pump(250), Clock::duration::zero());
        EXPECT_EQ(loop.pump(1500), microseconds(1500));
    }
}

}  // namespace
