#pragma once

#include "toolkit/stack_guard.h"

namespace toolkit::qt {

// Every racket click during a rally runs a whole new rally nested inside the
// running one, about 3.9 KB of the main thread's stack each with Qt's frames.
// Raises the stack's soft limit to 64 MB where the hard limit allows (the
// stack grows on demand) and returns the main thread's stack as far as it
// may grow now, for the runtime's guard. Call first thing in main().
StackBounds allow_deep_nesting();

}  // namespace toolkit::qt
