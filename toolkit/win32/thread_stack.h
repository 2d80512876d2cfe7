#pragma once

#include "toolkit/stack_guard.h"

namespace toolkit::win32 {

// The stack of the calling thread as far as it may grow: on Windows the
// whole reserve the linker gave the main thread (64 MB for the game) is
// known from the start, and pages are committed as it grows into them.
StackBounds this_thread_stack();

}  // namespace toolkit::win32
