#pragma once

#include "toolkit/control.h"
#include "toolkit/look.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

// Conversions from the toolkit's look and geometry to Qt's.
namespace toolkit::qt {

QColor to_qcolor(const Color& color);
QFont to_qfont(const Font& font);
// Whether the designed face or one of its stand-ins is installed; without
// them Qt draws every caption as boxes.
bool drawing_face_installed();
// A length in points as device-independent pixels, rounded.
int to_pixels(double points);
// Edges are rounded one by one, so pieces that touch in points touch on screen.
QRect to_pixel_rect(const ControlGeometry& geometry);
QString to_qstring(const std::string& utf8);
// Carriage return and line feed pairs as Qt's line breaks.
QString caption_text(const std::string& utf8);

}  // namespace toolkit::qt
