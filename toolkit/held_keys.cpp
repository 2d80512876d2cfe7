#include "toolkit/held_keys.h"

namespace toolkit {

bool HeldKeys::press(std::uint32_t code) { return ++presses_[code] > 1; }

bool HeldKeys::repeating(std::uint32_t code) const {
    const auto it = presses_.find(code);
    return it != presses_.end() && it->second > 1;
}

}  // namespace toolkit
