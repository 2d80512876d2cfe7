#include "toolkit/qt/deep_nesting.h"

#include <algorithm>
#include <pthread.h>
#include <sys/resource.h>

namespace toolkit::qt {
namespace {

void raise_stack_limit() {
    constexpr rlim_t kStackBytes = rlim_t{64} << 20;
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= kStackBytes)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kStackBytes : std::min(kStackBytes, limit.rlim_max);
    setrlimit(RLIMIT_STACK, &limit);
}

// For the main thread glibc finds the stack's top in the process's memory
// map and takes its size from the limit in force, short of the mapping below.
StackBounds main_thread_stack() {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return {};
    void* lowest = nullptr;
    size_t size = 0;
    const bool known = pthread_attr_getstack(&attr, &lowest, &size) == 0;
    pthread_attr_destroy(&attr);
    if (!known) return {};
    const auto low = reinterpret_cast<std::uintptr_t>(lowest);
    return {low, low + size};
}

}  // namespace

StackBounds allow_deep_nesting() {
    raise_stack_limit();
    return main_thread_stack();
}

}  // namespace toolkit::qt
