#include "toolkit/qt/font_configuration.h"

#include <fontconfig/fontconfig.h>

namespace toolkit::qt {

std::future<void> read_font_configuration_ahead() {
    // A failed reading leaves nothing to share; Qt then tries again itself.
    return std::async(std::launch::async, [] { FcInit(); });
}

}  // namespace toolkit::qt
