#pragma once

#include <chrono>
#include <cstdint>

namespace toolkit {

// Keeps the game's speed the same on every machine. Each pump is worth one
// quantum of a running time budget; every few quanta the pacer compares the
// budget with a steady clock and tells the caller how long to sleep (when the
// pumps run ahead) before delivering window events. Plain C++: the Qt backend
// owns the clock reading, the sleeping and the delivering.
class Pacer {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::nanoseconds kPumpQuantum = std::chrono::microseconds(1);
    // Window events are delivered at least this often, in budget time.
    static constexpr std::uint32_t kPumpsPerDelivery = 250;
    // Pumps that run further ahead than this sleep until the budget catches up.
    static constexpr std::chrono::nanoseconds kMaxLead = std::chrono::milliseconds(1);
    // Real time this far behind the budget (a modal box was open) resets the
    // budget instead of catching up in a burst.
    static constexpr std::chrono::nanoseconds kMaxLag = std::chrono::milliseconds(100);

    // Counts one pump; true when window events are due.
    bool count_pump() {
        budget_ += kPumpQuantum;
        if (++pumps_since_delivery_ < kPumpsPerDelivery) return false;
        pumps_since_delivery_ = 0;
        return true;
    }

    // At a delivery: how long to sleep first, given the time now.
    Clock::duration sleep_before_delivery(Clock::time_point now);

private:
    Clock::time_point start_{};
    bool started_ = false;
    std::chrono::nanoseconds budget_{0};
    std::uint32_t pumps_since_delivery_ = 0;
};

}  // namespace toolkit
