#pragma once

#include <cstddef>
#include <cstdint>

namespace toolkit {

// The addresses a thread's stack may grow over, from `highest` down to
// `lowest`: on every platform the game runs on, stacks grow downwards.
struct StackBounds {
    std::uintptr_t lowest = 0;
    std::uintptr_t highest = 0;
};

// Keeps nesting from overflowing the stack: every racket click during a rally
// runs a whole new rally inside the running one, and a stack that runs out
// ends the process without a word. A frame may nest deeper only while the
// stack below it keeps the reserve free.
class StackGuard {
public:
    // Room kept below the deepest rally: the frames one more level takes, the
    // other handlers that level runs (a wall click, leaving, a message at the
    // end of its game), and the box that reports a refused click with the
    // toolkit's frames under it.
    static constexpr std::size_t kReserveBytes = std::size_t{512} << 10;

    // A guard with no bounds refuses nothing.
    StackGuard() = default;
    StackGuard(StackBounds bounds, std::size_t reserve_bytes) : bounds_(bounds), reserve_(reserve_bytes) {}

    // Whether a frame at address `here` has the reserve free below it. A frame
    // outside the bounds is on another stack, which this guard knows nothing of.
    bool has_room(std::uintptr_t here) const;

private:
    StackBounds bounds_;
    std::size_t reserve_ = 0;
};

}  // namespace toolkit
