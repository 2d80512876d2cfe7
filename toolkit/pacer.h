#pragma once

#include <chrono>
#include <cstdint>

namespace toolkit {

// Keeps the game's speed the same on every machine. Each pump is worth one
// quantum of a running time budget, and the budget's deadline is the moment
// real time is due to reach it. Pumps cost almost nothing, so they run ahead
// of the clock; every so often the pacer compares the deadline with a steady
// clock and tells the caller what to do: nothing yet, deliver the pending
// window events, or wait for the deadline while delivering events as they
// arrive. At the end of a frame of animation the caller waits for the
// deadline, so frames start exactly their number of quanta apart.
//
// Plain C++ that only decides: the Qt backend reads the clock, delivers and
// waits. Every decision assumes it is carried out.
class Pacer {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::nanoseconds kPumpQuantum = std::chrono::microseconds(1);
    // The clock is read at every this many pumps.
    static constexpr std::uint32_t kPumpsPerCheck = 250;
    // Pumps this far ahead of the clock wait for their deadline. It is longer
    // than the longest turn (33.3 ms at delay 100), so the pumps of a turn run
    // ahead to its end and the turn waits once, for its deadline. Input never
    // waits for it (it is delivered the moment it arrives); the lead only
    // bounds how much of the budget is spent before its time.
    static constexpr std::chrono::nanoseconds kMaxLead = std::chrono::milliseconds(40);
    // Events are delivered at least this often in real time, whatever the lead.
    static constexpr std::chrono::nanoseconds kMaxQuiet = std::chrono::microseconds(250);
    // Real time this far behind the deadline (a modal box was open) restarts
    // the budget from now instead of catching up in a burst.
    static constexpr std::chrono::nanoseconds kMaxLag = std::chrono::milliseconds(100);

    struct Step {
        enum class Kind { nothing, deliver, wait };
        Kind kind = Kind::nothing;
        Clock::time_point until{};  // for a wait: the deadline

        friend bool operator==(const Step&, const Step&) = default;
    };

    // Counts pumps, at most pumps_to_check() of them; true when the clock is
    // to be read with at_check().
    bool count_pumps(std::uint32_t pumps) {
        budget_ += pumps * kPumpQuantum;
        pumped_ = pumped_ || pumps != 0;
        pumps_since_check_ += pumps;
        if (pumps_since_check_ < kPumpsPerCheck) return false;
        pumps_since_check_ = 0;
        return true;
    }
    // Pumps still to be counted up to and including the one of the next check.
    std::uint32_t pumps_to_check() const { return kPumpsPerCheck - pumps_since_check_; }

    // What to do at a check, given the time now.
    Step at_check(Clock::time_point now);
    // What to do when a frame's pumping has ended: wait for its deadline when
    // it is still ahead, so the next frame starts on time.
    Step at_frame_end(Clock::time_point now);
    // The caller's word that a delivery or a wait it was asked for has ended
    // at `now`. The quiet before the next delivery counts from there: a wait
    // woken a little after its deadline, or a delivery that painted for a
    // while, has just handed out every event, and asking again at once would
    // find none.
    void delivered(Clock::time_point now) { last_delivery_ = now; }

private:
    Clock::time_point deadline() const { return start_ + budget_; }
    // Starts the clock on the first reading and after a stall; true if it did.
    bool take_up(Clock::time_point now);
    Step wait_for_deadline();

    Clock::time_point start_{};
    bool started_ = false;
    std::chrono::nanoseconds budget_{0};
    std::uint32_t pumps_since_check_ = 0;
    bool pumped_ = false;  // since the last frame's end
    Clock::time_point last_delivery_{};
};

}  // namespace toolkit
