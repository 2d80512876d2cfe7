#include "toolkit/qt/deadline_timer.h"

#include <cstdint>
#include <stdexcept>

#include <sys/timerfd.h>
#include <unistd.h>

namespace toolkit::qt {

// std::chrono::steady_clock is CLOCK_MONOTONIC on Linux, which the timer counts in.
static_assert(DeadlineTimer::Clock::is_steady);

DeadlineTimer::DeadlineTimer() : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("timerfd_create failed");
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DeadlineTimer::fired);
}

DeadlineTimer::~DeadlineTimer() {
    delete notifier_;
    close(fd_);
}

void DeadlineTimer::arm(Clock::time_point deadline) {
    if (deadline == armed_for_) return;
    const auto since_boot = deadline.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since_boot);
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(seconds.count());
    when.it_value.tv_nsec = static_cast<long>(std::chrono::nanoseconds(since_boot - seconds).count());
    // A zero time would disarm the timer; the clock's epoch is long past anyway.
    if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &when, nullptr);
    armed_for_ = deadline;
}

void DeadlineTimer::fired() {
    std::uint64_t expirations = 0;
    // Reading takes the expiry away, so the dispatcher stops seeing the timer
    // ready; it finds nothing if the timer was re-armed in the meantime.
    [[maybe_unused]] const ssize_t taken = read(fd_, &expirations, sizeof expirations);
    armed_for_ = {};
}

}  // namespace toolkit::qt
