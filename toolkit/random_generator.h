#pragma once

#include <cstdint>

namespace toolkit {

// The game's random numbers: uniform singles in [0, 1). A fresh generator
// starts from the same state in every run of the program, so the draws
// before the first reseed repeat exactly; reseed() restarts it from a seed
// such as the time of day.
class RandomGenerator {
public:
    float next();
    void reseed(float seed);

private:
    static constexpr std::uint64_t kStartState = 0x2545F4914F6CDD1DULL;
    std::uint64_t state_ = kStartState;
};

}  // namespace toolkit
