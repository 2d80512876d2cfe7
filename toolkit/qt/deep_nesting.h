#pragma once

namespace toolkit::qt {

// Every racket click during a rally runs a whole new rally nested inside the
// running one, about 2.6 KB of the main thread's stack each with Qt's frames.
// Raising the stack's soft limit to 64 MB (it grows on demand) lets rallies
// nest about 20,000 deep instead of about 3,000. Call first thing in main().
void allow_deep_nesting();

}  // namespace toolkit::qt
