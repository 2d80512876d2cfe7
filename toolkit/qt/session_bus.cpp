#include "toolkit/qt/session_bus.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit::qt {
namespace {

// libdbus takes the user's bus at $XDG_RUNTIME_DIR/bus, where one runs, as given.
bool user_bus_runs() {
    const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime_dir || !*runtime_dir) return false;
    struct stat bus {};
    return stat((std::string(runtime_dir) + "/bus").c_str(), &bus) == 0 && S_ISSOCK(bus.st_mode) &&
           bus.st_uid == getuid();
}

}  // namespace

void keep_to_the_given_session_bus() {
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") || user_bus_runs()) return;
    // An address of no known kind: every attempt to reach a session bus fails
    // at once, with no program started, no file and no socket touched. The
    // game needs no bus there: no assistive technology can listen without one.
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
}

}  // namespace toolkit::qt
