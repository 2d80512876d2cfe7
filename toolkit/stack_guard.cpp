#include "toolkit/stack_guard.h"

namespace toolkit {

bool StackGuard::has_room(std::uintptr_t here) const {
    if (here < bounds_.lowest || here >= bounds_.highest) return true;
    return here - bounds_.lowest >= reserve_;
}

}  // namespace toolkit
