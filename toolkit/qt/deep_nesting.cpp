#include "toolkit/qt/deep_nesting.h"

#include <algorithm>
#include <sys/resource.h>

namespace toolkit::qt {

void allow_deep_nesting() {
    constexpr rlim_t kStackBytes = rlim_t{64} << 20;
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= kStackBytes)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kStackBytes : std::min(kStackBytes, limit.rlim_max);
    setrlimit(RLIMIT_STACK, &limit);
}

}  // namespace toolkit::qt
