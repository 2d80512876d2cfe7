// The stack guard's arithmetic on a made-up stack: a frame may nest deeper
// while the reserve below it is free.
#include "toolkit/stack_guard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using toolkit::StackBounds;
using toolkit::StackGuard;

constexpr StackBounds kStack{0x7000'0000, 0x7080'0000};  // 8 MB
constexpr std::size_t kReserve = 0x8'0000;               // 512 KB

struct Frame {
    const char* name;
    std::uintptr_t here;
    bool room;
};

TEST(StackGuard, a_frame_has_room_while_the_reserve_below_it_is_free_and_frames_elsewhere_always) {
    const StackGuard guard(kStack, kReserve);
    const Frame frames[] = {
        {"at the top", kStack.highest - 1, true},
        {"the reserve and one byte above the bottom", kStack.lowest + kReserve + 1, true},
        {"exactly the reserve above the bottom", kStack.lowest + kReserve, true},
        {"one byte into the reserve", kStack.lowest + kReserve - 1, false},
        {"at the bottom", kStack.lowest, false},
        {"below the bottom: another stack", kStack.lowest - 1, true},
        {"at the top's end: another stack", kStack.highest, true},
        {"far above: another stack", kStack.highest + 0x1000'0000, true},
    };
    for (const Frame& frame : frames) {
        SCOPED_TRACE(frame.name);
        EXPECT_EQ(guard.has_room(frame.here), frame.room);
    }
}

TEST(StackGuard, a_stack_smaller_than_the_reserve_has_no_room_anywhere_and_no_bounds_refuse_nothing) {
    const StackGuard small({0x1000, 0x1000 + kReserve - 1}, kReserve);
    EXPECT_FALSE(small.has_room(0x1000 + kReserve - 2));
    EXPECT_FALSE(small.has_room(0x1000));
    const StackGuard unbounded;
    EXPECT_TRUE(unbounded.has_room(0));
    EXPECT_TRUE(unbounded.has_room(kStack.lowest));
}

}  // namespace
