#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <chrono>

namespace toolkit::qt {

// Wakes the event loop at an absolute moment of the steady clock, to the
// nanosecond the kernel allows: a timerfd the event dispatcher watches. Qt's
// own timers count in whole milliseconds, too coarse for a 3.33 ms frame.
class DeadlineTimer : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    DeadlineTimer();
    ~DeadlineTimer() override;
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    // Makes the event loop wake at `deadline`, unless it is already set to.
    void arm(Clock::time_point deadline);

private:
    void fired();

    int fd_;
    QSocketNotifier* notifier_;
    Clock::time_point armed_for_{};
};

}  // namespace toolkit::qt
