#include "toolkit/win32/thread_stack.h"

#include <windows.h>

namespace toolkit::win32 {

StackBounds this_thread_stack() {
    ULONG_PTR lowest = 0, highest = 0;
    GetCurrentThreadStackLimits(&lowest, &highest);
    return {static_cast<std::uintptr_t>(lowest), static_cast<std::uintptr_t>(highest)};
}

}  // namespace toolkit::win32
