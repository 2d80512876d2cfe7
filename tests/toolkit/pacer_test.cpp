#include "toolkit/pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace {

using toolkit::Pacer;
using Clock = Pacer::Clock;
using Kind = Pacer::Step::Kind;
using namespace std::chrono;

const Clock::time_point kStart = Clock::time_point{} + hours(7);

// Drives a pacer the way the backends do, on a clock the test moves by
// hand: every pump costs `pump_cost`, a wait ends `wake_late` after its
// deadline, a delivery takes `delivery_cost`, the end of each is reported,
// and every step the pacer asks for is noted.
struct PacedLoop {
    Pacer pacer;
    Clock::time_point now = kStart;
    Clock::duration pump_cost = nanoseconds(5);
    Clock::duration wake_late{}, delivery_cost{};
    std::vector<Pacer::Step> steps;  // every step but "nothing"

    // As the backend counts them: those let pass up to a check, together.
    void pump(std::uint64_t n) {
        while (n > 0) {
            const std::uint32_t pumps = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, pacer.pumps_to_check()));
            now += pump_cost * pumps;
            if (pacer.count_pumps(pumps)) take(pacer.at_check(now));
            n -= pumps;
        }
    }
    Pacer::Step end_frame() {
        const Pacer::Step step = pacer.at_frame_end(now);
        take(step);
        return step;
    }
    std::size_t count(Kind kind) const {
        return static_cast<std::size_t>(
            std::count_if(steps.begin(), steps.end(), [kind](const Pacer::Step& s) { return s.kind == kind; }));
    }

private:
    void take(Pacer::Step step) {
        if (step.kind == Kind::nothing) return;
        steps.push_back(step);
        if (step.kind == Kind::wait) now = std::max(now, step.until + wake_late);
        if (step.kind == Kind::deliver) now += delivery_cost;
        pacer.delivered(now);
    }
};

const Pacer::Step kNothing{};
const Pacer::Step kDeliver{Kind::deliver};
Pacer::Step wait_until(Clock::time_point t) { return {Kind::wait, t}; }

TEST(Pacer, reads_the_clock_at_every_250th_pump_and_starts_it_at_the_first_reading_with_a_delivery) {
    Pacer p;
    std::vector<int> checks;
    for (int i = 1; i <= 100'000; ++i)
        if (p.count_pumps(1) && i <= 1000) checks.push_back(i);
    EXPECT_EQ(checks, (std::vector<int>{250, 500, 750, 1000}));
    // 100 ms of budget are already spent: they count as due now, not as a lead.
    EXPECT_EQ(p.at_check(kStart), kDeliver);
}

std::vector<Pacer::Step> steps_after(const PacedLoop& loop, std::size_t first) {
    return {loop.steps.begin() + static_cast<std::ptrdiff_t>(first), loop.steps.end()};
}

// The clock is started at pump 250, at kStart; then it moves on by
// `clock_moves` and `pumps` more pumps run, costing nothing: the steps asked.
TEST(Pacer, pumps_run_up_to_the_lead_cap_ahead_then_wait_for_their_deadline_catch_up_when_behind_and_restart_after_a_stall) {
    using Steps = std::vector<Pacer::Step>;
    const auto at = [](Clock::duration d) { return wait_until(kStart + d); };
    const std::uint64_t cap = static_cast<std::uint64_t>(Pacer::kMaxLead / Pacer::kPumpQuantum);
    const struct {
        const char* what;
        Clock::duration clock_moves;
        std::uint64_t pumps;
        Steps steps;
    } table[] = {
        {"a whole turn at delay 100 ahead: racing on, nothing delivered", {}, 33300, {}},
        {"one check short of the cap: racing on", {}, cap - 250, {}},
        {"the cap on the lead", {}, cap, {at(Pacer::kMaxLead)}},
        {"capped twice", {}, 2 * cap, {at(Pacer::kMaxLead), at(2 * Pacer::kMaxLead)}},
        {"on time, 250 us after the last delivery", microseconds(250), 1000, {kDeliver}},
        {"1 ns behind: one delivery, then caught up without more", milliseconds(1) + nanoseconds(1), 1000,
         Steps{kDeliver}},
        {"99 ms behind: one delivery, then caught up without more", milliseconds(99), 99'000, Steps{kDeliver}},
        {"99 ms behind and caught up: racing on up to the cap", milliseconds(99), 99'000 + cap,
         {kDeliver, at(milliseconds(99) + Pacer::kMaxLead)}},
        {"101 ms behind: a stall, restarted from its end", milliseconds(101), 250 + cap,
         {kDeliver, at(milliseconds(101) + Pacer::kMaxLead)}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        PacedLoop loop;
        loop.pump_cost = {};
        loop.pump(250);
        ASSERT_EQ(steps_after(loop, 0), Steps{kDeliver});
        loop.now += row.clock_moves;
        loop.pump(row.pumps);
        EXPECT_EQ(steps_after(loop, 1), row.steps);
    }
}

// A frame of `pumps` pumps that cost nothing, after the clock was started at
// kStart and moved on by `clock_moves`: the step asked at the frame's end.
TEST(Pacer, a_frame_ends_by_waiting_for_its_exact_deadline_unless_it_is_already_past) {
    const struct {
        const char* what;
        Clock::duration clock_moves;
        std::uint64_t pumps;
        Pacer::Step step;
    } table[] = {
        {"ahead by the whole frame", {}, 3330, wait_until(kStart + microseconds(3330))},
        {"ahead by 1 ns", microseconds(3330) - nanoseconds(1), 3330, wait_until(kStart + microseconds(3330))},
        {"just on time", microseconds(3330), 3330, kNothing},
        {"behind", milliseconds(5), 3330, kNothing},
        {"a frame without pumps", {}, 0, kNothing},
        {"a frame shorter than a check", {}, 10, wait_until(kStart + microseconds(10))},
        // A modal box was open: the budget restarts from now, with nothing to wait for.
        {"a short frame after a stall", seconds(1), 10, kNothing},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        PacedLoop loop;
        loop.pump_cost = {};
        loop.pump(250);
        loop.end_frame();
        loop.now += row.clock_moves;
        loop.pump(row.pumps);
        EXPECT_EQ(loop.pacer.at_frame_end(loop.now), row.step);
    }
}

// A modal box was open for a second: the budget restarts at the first check
// after it, with the pumps so far due then, and no frame is made up in a burst.
TEST(Pacer, after_a_stall_the_budget_restarts_at_the_next_check_and_frames_keep_their_length_from_there) {
    PacedLoop loop;
    loop.pump_cost = {};
    loop.pump(250);
    loop.end_frame();
    loop.now += seconds(1);
    const Clock::time_point stall_over = loop.now;
    loop.pump(3330);
    EXPECT_EQ(loop.count(Kind::deliver), 2u);  // the first start and the restart
    EXPECT_EQ(loop.end_frame(), wait_until(stall_over + microseconds(3330 - 250)));
    loop.pump(3330);
    EXPECT_EQ(loop.end_frame(), wait_until(stall_over + microseconds(2 * 3330 - 250)));
}

// Frames start on the budget's absolute deadlines whatever the pumps cost,
// as long as they cost less than their quantum: no drift, no jitter.
TEST(Pacer, frames_end_exactly_their_pumps_apart_at_delays_10_50_and_100) {
    for (const std::uint64_t pumps : {3330u, 16650u, 33300u}) {
        SCOPED_TRACE(pumps);
        PacedLoop loop;
        loop.pump(pumps);
        loop.end_frame();
        const Clock::time_point first = loop.now;
        for (std::uint64_t frame = 1; frame <= 50; ++frame) {
            loop.pump(pumps);
            ASSERT_EQ(loop.end_frame().kind, Kind::wait);
            ASSERT_EQ(loop.now - first, microseconds(frame * pumps));
        }
        // A frame's pumps run ahead to its end and wait once there, delivering nothing else.
        EXPECT_EQ(loop.count(Kind::deliver), 1u);  // the clock's start
        EXPECT_EQ(loop.count(Kind::wait), 51u);
    }
}

// The quiet before a delivery counts from the end of the last one: a wait
// woken late, or a delivery that took long, is followed by no delivery until
// kMaxQuiet after it ended, however long ago it was asked for.
TEST(Pacer, events_are_delivered_again_only_a_quiet_spell_after_the_last_delivery_or_wait_ended) {
    const struct {
        const char* what;
        Clock::duration pump_cost, wake_late, delivery_cost;
        std::size_t deliveries;  // in 20 frames of 16,650 pumps, after the clock's start
    } table[] = {
        {"waits woken 400 us late, pumps that cost nothing", {}, microseconds(400), {}, 0},
        {"waits woken 240 us late, pumps of 5 ns", nanoseconds(5), microseconds(240), {}, 0},
        // A check every 125 us of pumping; a delivery of 400 us at every other one, not at each.
        {"pumps behind the clock, deliveries of 400 us", nanoseconds(500), {}, microseconds(400), 20 * 16650 / 500},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        PacedLoop loop;
        loop.pump_cost = row.pump_cost;
        loop.wake_late = row.wake_late;
        loop.delivery_cost = row.delivery_cost;
        loop.pump(250);
        ASSERT_EQ(loop.count(Kind::deliver), 1u);
        for (int frame = 0; frame < 20; ++frame) {
            loop.pump(16650);
            loop.end_frame();
        }
        EXPECT_NEAR(static_cast<double>(loop.count(Kind::deliver) - 1), static_cast<double>(row.deliveries), 2);
    }
}

// A rally started by a click inside a pump runs its own frames on the same
// budget: each of its frames ends when all pumps so far are due, the outer
// frame's included, and the outer frame ends when its remaining pumps are.
TEST(Pacer, a_nested_rallys_frames_count_the_outer_frames_pumps_before_them) {
    PacedLoop loop;
    loop.pump_cost = {};
    loop.pump(250);
    loop.end_frame();
    loop.pump(1000);  // the outer frame, up to the click
    for (int frame = 1; frame <= 3; ++frame) {
        loop.pump(3330);
        EXPECT_EQ(loop.end_frame(), wait_until(kStart + microseconds(1000 + frame * 3330)));
    }
    loop.pump(2330);  // the rest of the outer frame, after the nested rally returned
    EXPECT_EQ(loop.end_frame(), wait_until(kStart + microseconds(1000 + 3 * 3330 + 2330)));
}

// A click delivered during a frame's wait runs its nested rally at once, in
// the wait: the nested frames count on from the outer frame's deadline, the
// outer wait then finds its deadline past, and the outer rally goes on in step.
TEST(Pacer, a_rally_started_during_a_frames_wait_counts_on_from_that_frames_deadline) {
    PacedLoop loop;
    loop.pump_cost = {};
    loop.pump(250);
    loop.end_frame();
    loop.pump(16650);
    const Pacer::Step outer_wait = loop.pacer.at_frame_end(loop.now);
    ASSERT_EQ(outer_wait, wait_until(kStart + microseconds(16650)));
    loop.now += milliseconds(1);  // the click, one millisecond into the wait
    for (int frame = 1; frame <= 3; ++frame) {
        loop.pump(3330);
        EXPECT_EQ(loop.end_frame(), wait_until(outer_wait.until + microseconds(frame * 3330)));
    }
    loop.pump(16650);
    EXPECT_EQ(loop.end_frame(), wait_until(outer_wait.until + microseconds(3 * 3330 + 16650)));
    EXPECT_EQ(loop.count(Kind::deliver), 1u);  // the clock's start: nothing between the waits
}

// Pumps slower than their quantum (a slow or loaded machine) never wait and
// deliver at every check, 250 quanta of budget apart.
TEST(Pacer, pumps_slower_than_the_clock_deliver_at_every_check_and_never_wait) {
    PacedLoop loop;
    loop.pump_cost = microseconds(2);
    for (int frame = 0; frame < 20; ++frame) {
        loop.pump(3330);
        loop.end_frame();
    }
    EXPECT_EQ(loop.count(Kind::wait), 0u);
    EXPECT_EQ(loop.count(Kind::deliver), 20u * 3330 / 250);
}

}  // namespace
