#pragma once

#include "toolkit/control.h"
#include "toolkit/look.h"

#include <string>

namespace forms {

// The team credit, in the welcome window's title and under the game's title.
inline const std::string kCredit = "команда Bounzo";

struct HelloDesign {
    toolkit::FormLook form;
    toolkit::ControlDesign title, play, leave, credit;
};

// The welcome form as designed.
HelloDesign hello_design();

}  // namespace forms
