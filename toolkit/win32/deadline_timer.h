#pragma once

#include <chrono>
#include <cstdint>

#include <windows.h>

namespace toolkit::win32 {

// Waits for an absolute moment of the steady clock inside the message loop:
// a high-resolution waitable timer that MsgWaitForMultipleObjectsEx watches
// beside the thread's message queue, so window messages are handled the
// moment they arrive and the thread sleeps otherwise. Where the system has
// no high-resolution timers (Windows before 10 1803, Wine), an ordinary one
// with the system timer at 1 ms.
class DeadlineTimer {
public:
    using Clock = std::chrono::steady_clock;

    // A waitable timer wakes up to about a millisecond late (0.75 ms as a
    // median under Wine): it is set this much early, and the rest of the wait
    // is finished by the clock.
    static constexpr std::chrono::microseconds kEarly{1000};

    DeadlineTimer();
    ~DeadlineTimer();
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    // Returns when a message is waiting, or kEarly before `deadline` (a
    // little later if the system is late); from then on, at once.
    void wait(Clock::time_point deadline);
    // Spins on the clock, handling nothing, until `deadline`: the last
    // fraction of a millisecond, which no timer keeps.
    static void finish(Clock::time_point deadline);

    // How often a wait slept in the system, and how often of those the timer
    // (not a message) woke it: what the pacing did, counted, whatever the
    // machine's speed.
    std::uint64_t sleeps() const { return sleeps_; }
    std::uint64_t timer_wakes() const { return timer_wakes_; }

private:
    HANDLE timer_;
    bool coarse_;  // raised the system timer's resolution, to be given back
    std::uint64_t sleeps_ = 0, timer_wakes_ = 0;
};

}  // namespace toolkit::win32
