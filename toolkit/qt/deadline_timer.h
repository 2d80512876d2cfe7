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
    bool set_kernel_timer(Clock::time_point deadline);
    void fired();

    int fd_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer fallback_;
    Clock::time_point armed_for_{};
};

}  // namespace toolkit::qt
