#pragma once

#include <future>

namespace toolkit::qt {

// Starts reading the system's font configuration (fontconfig's files and
// caches) on a thread of its own. Qt reads it when the first text is
// measured, after the display connection is open, and it is about a quarter
// of the work up to the first picture; begun before that connection, the
// reading runs beside it on another core. Wait for it before the first text
// is measured, so that Qt does not start the same reading a second time.
std::future<void> read_font_configuration_ahead();

}  // namespace toolkit::qt
