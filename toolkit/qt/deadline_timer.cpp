#include "toolkit/qt/deadline_timer.h"

#include <algorithm>
#include <cstdint>

#include <sys/prctl.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace toolkit::qt {

// std::chrono::steady_clock is CLOCK_MONOTONIC on Linux, which the timer counts in.
static_assert(DeadlineTimer::Clock::is_steady);

DeadlineTimer::DeadlineTimer() : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
    // The thread that waits wakes at its deadline: by default the kernel may
    // let it sleep up to 50 us longer, to wake it together with others.
    prctl(PR_SET_TIMERSLACK, 1UL);
    fallback_.setSingleShot(true);
    fallback_.setTimerType(Qt::PreciseTimer);
    connect(&fallback_, &QTimer::timeout, this, [this] { armed_for_ = {}; });
    if (fd_ < 0) return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DeadlineTimer::fired);
}

DeadlineTimer::~DeadlineTimer() {
    delete notifier_;
    if (fd_ >= 0) close(fd_);
}

void DeadlineTimer::arm(Clock::time_point deadline) {
    if (deadline == armed_for_) return;
    armed_for_ = deadline;
    if (fd_ >= 0) {
        // Already due as the timer's next repeat: nothing to set.
        if (period_ != Clock::duration{} && deadline == next_repeat_) return;
        // One turn after the last wake: from here on the timer repeats at that period.
        const Clock::duration since_last = deadline - last_fired_;
        const Clock::duration period = since_last > Clock::duration{} && since_last <= kLongestRepeat ? since_last
                                                                                                       : Clock::duration{};
        if (set_kernel_timer(deadline, period)) {
            period_ = period;
            next_repeat_ = deadline;
            return;
        }
    }
    // Whole milliseconds, rounded up: the wake may come late, never early or not at all.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    fallback_.start(std::max(left, std::chrono::milliseconds(0)));
}

bool DeadlineTimer::set_kernel_timer(Clock::time_point deadline, Clock::duration period) {
    const auto to_timespec = [](Clock::duration d) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(d);
        return timespec{static_cast<time_t>(seconds.count()),
                        static_cast<long>(std::chrono::nanoseconds(d - seconds).count())};
    };
    itimerspec when{};
    when.it_value = to_timespec(deadline.time_since_epoch());
    when.it_interval = to_timespec(period);
    // A zero time would disarm the timer; the clock's epoch is long past anyway.
    if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;
    return timerfd_settime(fd_, TFD_TIMER_ABSTIME, &when, nullptr) == 0;
}

void DeadlineTimer::stop_repeating() {
    const itimerspec disarmed{};
    timerfd_settime(fd_, 0, &disarmed, nullptr);
    period_ = {};
    next_repeat_ = {};
}

void DeadlineTimer::fired() {
    std::uint64_t expirations = 0;
    // Reading takes the expiry away, so the dispatcher stops seeing the timer
    // ready; it finds nothing if the timer was re-armed in the meantime.
    if (read(fd_, &expirations, sizeof expirations) != sizeof expirations || expirations == 0) return;
    const bool awaited = armed_for_ == next_repeat_;
    last_fired_ = next_repeat_;
    armed_for_ = {};
    if (period_ == Clock::duration{}) return;
    if (!awaited || expirations > 1) {
        // A repeat nobody waited for, or repeats missed: the rally is over or
        // stalled, and the next wait sets the timer afresh.
        stop_repeating();
        return;
    }
    next_repeat_ += period_;
}

}  // namespace toolkit::qt
