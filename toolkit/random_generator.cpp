#include "toolkit/random_generator.h"

#include <bit>

namespace toolkit {

// SplitMix64: a small, well-mixed generator; 24 bits of its output make a
// single that is exactly representable and always below 1.
float RandomGenerator::next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) / 16777216.0f;
}

void RandomGenerator::reseed(float seed) {
    state_ = kStartState ^ (static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(seed)) << 16);
}

}  // namespace toolkit
