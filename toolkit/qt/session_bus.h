#pragma once

namespace toolkit::qt {

// Where no session bus is given, makes sure none is started for the game:
// libdbus would otherwise launch dbus-launch and a dbus-daemon of its own,
// which outlive the program, the first time Qt looks for the bus. Call
// before the QApplication is made.
void keep_to_the_given_session_bus();

}  // namespace toolkit::qt
