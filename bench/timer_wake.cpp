// How late this machine wakes a thread that sleeps on a timer, the floor
// under the game's turn periods: a bare thread waits on a periodic timerfd
// at the turn length of delay 50 with the game's timer slack of 1 ns, as the
// game's wait does, and measures how long after each expiry it runs. The
// game's p99 of |period - target| cannot be better than this p99.
//   bounzo_bench_timer_wake [WAKES]
#include "stats.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <sys/prctl.h>
#include <sys/timerfd.h>
#include <unistd.h>

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC, as the timer counts
    const long wakes = argc > 1 ? std::atol(argv[1]) : 600;
    if (wakes <= 0) return 2;
    constexpr std::chrono::nanoseconds kPeriod = std::chrono::microseconds(16650);
    prctl(PR_SET_TIMERSLACK, 1UL);
    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (fd < 0) return 1;
    Clock::time_point due = Clock::now() + kPeriod;
    const auto to_timespec = [](std::chrono::nanoseconds d) {
        return timespec{static_cast<time_t>(d.count() / 1'000'000'000), static_cast<long>(d.count() % 1'000'000'000)};
    };
    itimerspec when{};
    when.it_value = to_timespec(due.time_since_epoch());
    when.it_interval = to_timespec(kPeriod);
    if (timerfd_settime(fd, TFD_TIMER_ABSTIME, &when, nullptr) != 0) return 1;
    std::vector<double> late_ms;
    for (long i = 0; i < wakes; ++i) {
        std::uint64_t expirations = 0;
        if (read(fd, &expirations, sizeof expirations) != sizeof expirations || expirations == 0) return 1;
        const Clock::time_point now = Clock::now();
        // A wake later than a whole period counts from the last expiry it covers.
        due += kPeriod * static_cast<std::int64_t>(expirations - 1);
        late_ms.push_back(std::chrono::duration<double, std::milli>(now - due).count());
        due += kPeriod;
    }
    close(fd);
    const bench::Summary s = bench::summarize(late_ms);
    char how[160];
    std::snprintf(how, sizeof how, "a bare thread on a 16.65 ms timerfd, %zu wakes: median %.3f ms, p90 %.3f ms, largest %.3f ms",
                  s.n, s.median, s.p90, s.max);
    bench::print_value("machine.wake.p99", s.p99, how);
}
