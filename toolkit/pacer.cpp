#include "toolkit/pacer.h"

namespace toolkit {

using Kind = Pacer::Step::Kind;

bool Pacer::take_up(Clock::time_point now) {
    if (started_ && now - deadline() <= kMaxLag) return false;
    // Real time counts from here on: the budget spent so far is due now.
    start_ = now - budget_;
    started_ = true;
    last_delivery_ = now;
    return true;
}

Pacer::Step Pacer::wait_for_deadline() {
    // Events are delivered throughout the wait, up to its end.
    last_delivery_ = deadline();
    return {Kind::wait, deadline()};
}

Pacer::Step Pacer::at_check(Clock::time_point now) {
    if (take_up(now)) return {Kind::deliver};
    if (deadline() - now >= kMaxLead) return wait_for_deadline();
    // Ahead of the clock or behind it, events go out every kMaxQuiet of real
    // time: pumps that catch up after a long repaint run through their checks
    // in microseconds, and a delivery at each would only ask the window
    // system again and again for events it has none of.
    if (now - last_delivery_ >= kMaxQuiet) {
        last_delivery_ = now;
        return {Kind::deliver};
    }
    return {};
}

Pacer::Step Pacer::at_frame_end(Clock::time_point now) {
    if (!pumped_) return {};
    pumped_ = false;
    if (take_up(now) || now >= deadline()) return {};
    return wait_for_deadline();
}

}  // namespace toolkit
