#pragma once

#include "toolkit/control.h"
#include "toolkit/look.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

// Conversions from the toolkit's look and geometry to Qt's.
namespace toolkit::qt {

QColor to_qcolor(const Color& color);
QFont to_qfont(const Font& font);
// Whether the designed face or one of its stand-ins is installed; without
// them Qt draws every caption as boxes.
bool drawing_face_installed();
// The scale of the mapping from points to the screen: 1, the display's own,
// unless the court does not fit its screen. Set before the windows that use
// it are laid out; the game's arithmetic stays in points whatever it is.
void set_screen_scale(double scale);
double screen_scale();
// A length in points as device-independent pixels at the screen scale, rounded.
int to_pixels(double points);
// A position in device-independent pixels back in points, unrounded.
QPointF to_points(QPointF pixels);
// A font of the given size at the screen scale.
QFont at_screen_scale(QFont font);
// A control's place at the screen scale, by the toolkit's pixel grid: it keeps its
// size in pixels wherever it moves.
QRect to_pixel_rect(const ControlGeometry& geometry);
// A form window's designed client area, in pixels at the screen's scale.
QSize client_pixel_size(const FormLook& look);
QString to_qstring(const std::string& utf8);
// Carriage return and line feed pairs as Qt's line breaks.
QString caption_text(const std::string& utf8);

}  // namespace toolkit::qt
