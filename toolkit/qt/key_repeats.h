#pragma once

class QKeyEvent;

namespace toolkit::qt {

// X11 reports a key held down, by default, as a release and a press at
// every repeat, which Qt 6.4 tells from real ones only when the press is
// already queued: under load many repeats come as real presses and
// releases. This asks the X server for repeats without the releases, keeps
// count of the keys that are down, and so tells every repeat. Elsewhere it
// does nothing. Call once, with the application made.
void watch_key_repeats();

// Whether the key event is a repeat of a key held down, by Qt's own word or
// because the key was down already.
bool repeats_held_key(const QKeyEvent& key);

}  // namespace toolkit::qt
