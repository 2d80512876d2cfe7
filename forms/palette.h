#pragma once

#include "toolkit/look.h"

// The colours of both forms.
namespace forms {

constexpr toolkit::Color kCourtPink = toolkit::Color::rgb(255, 192, 192);
constexpr toolkit::Color kRed = toolkit::Color::rgb(255, 0, 0);
constexpr toolkit::Color kBlue = toolkit::Color::rgb(0, 0, 255);
constexpr toolkit::Color kDarkBlue = toolkit::Color::rgb(0, 0, 192);
constexpr toolkit::Color kLightYellow = toolkit::Color::rgb(255, 255, 128);

}  // namespace forms
