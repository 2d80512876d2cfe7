#pragma once

#include "engine/court.h"

namespace forms {

// The court form as designed: window, background net, ball, rackets and bars.
engine::CourtDesign court_design();

}  // namespace forms
