#include "toolkit/win32/deadline_timer.h"

#include <algorithm>
#include <stdexcept>

#include <timeapi.h>

namespace toolkit::win32 {
namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr DWORD CREATE_WAITABLE_TIMER_HIGH_RESOLUTION = 0x2;
#endif

HANDLE high_resolution_timer() {
    return CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
}

}  // namespace

DeadlineTimer::DeadlineTimer() : timer_(high_resolution_timer()), coarse_(timer_ == nullptr) {
    if (coarse_) {
        timeBeginPeriod(1);
        timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
    if (!timer_) throw std::runtime_error("CreateWaitableTimerExW failed");
}

DeadlineTimer::~DeadlineTimer() {
    CloseHandle(timer_);
    if (coarse_) timeEndPeriod(1);
}

void DeadlineTimer::wait(Clock::time_point deadline) {
    const auto left = deadline - kEarly - Clock::now();
    if (left <= Clock::duration::zero()) return;
    // Negative: relative to now, in units of 100 ns.
    LARGE_INTEGER due{};
    due.QuadPart = -std::max<LONGLONG>(1, std::chrono::duration_cast<std::chrono::nanoseconds>(left).count() / 100);
    SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
    ++sleeps_;
    if (MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0)
        ++timer_wakes_;
}

void DeadlineTimer::finish(Clock::time_point deadline) {
    while (Clock::now() < deadline) SwitchToThread();
}

}  // namespace toolkit::win32
