#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>

namespace toolkit::qt {

// Wakes the event loop at an absolute moment of the steady clock, to the
// nanosecond the kernel allows: a timerfd the event dispatcher watches. Qt's
// own timers count in whole milliseconds, too coarse for a 3.33 ms frame; one
// stands in, a little late, when the kernel gives no timerfd or refuses to
// set it, so that a wait always has its wake.
//
// A rally waits for deadlines a constant turn apart, so once two deadlines
// have come that far apart the kernel's timer is left to repeat at that
// period, and a wait for the next one sets nothing. A repeat that nobody
// waits for, when the rally has stopped, stops the timer.
class DeadlineTimer : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    DeadlineTimer();
    ~DeadlineTimer() override;
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    // Makes the event loop wake at `deadline`, unless it is already set to.
    void arm(Clock::time_point deadline);
    // Whether the wakes come from the kernel's timer, to the nanosecond.
    bool precise() const { return fd_ >= 0; }

private:
    // Deadlines further apart than this are no turns of a rally; the timer does not repeat them.
    static constexpr Clock::duration kLongestRepeat = std::chrono::milliseconds(100);

    bool set_kernel_timer(Clock::time_point deadline, Clock::duration period);
    void stop_repeating();
    void fired();

    int fd_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer fallback_;
    Clock::time_point armed_for_{};
    // The deadline of the last wake, and when the kernel's timer repeats by
    // itself: its period and its next expiry (none when it does not repeat).
    Clock::time_point last_fired_{};
    Clock::duration period_{};
    Clock::time_point next_repeat_{};
};

}  // namespace toolkit::qt
