#include "toolkit/qt/pacer.h"

namespace toolkit {

Pacer::Clock::duration Pacer::sleep_before_delivery(Clock::time_point now) {
    if (!started_ || now - start_ > budget_ + kMaxLag) {
        // First delivery, or after a stall: real time counts from here on.
        start_ = now - budget_;
        started_ = true;
        return Clock::duration::zero();
    }
    const Clock::duration lead = start_ + budget_ - now;
    return lead > kMaxLead ? lead : Clock::duration::zero();
}

}  // namespace toolkit
