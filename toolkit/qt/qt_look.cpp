#include "toolkit/qt/qt_look.h"

#include "toolkit/units.h"

#include <QStringList>
#include <cmath>

namespace toolkit::qt {

// System colours are fixed to the usual desktop values of the game's home
// system, so it looks the same on every desktop theme.
QColor to_qcolor(const Color& c) {
    switch (c.system) {
    case Color::System::button_face: return QColor(236, 233, 216);
    case Color::System::button_text: return QColor(0, 0, 0);
    case Color::System::scroll_bar: return QColor(212, 208, 200);
    case Color::System::none: break;
    }
    return QColor(c.r, c.g, c.b);
}

QFont to_qfont(const Font& font) {
    QFont f;
    // Tahoma where it is installed, else a sans-serif face of similar width that has Cyrillic.
    f.setFamilies(QStringList{QString::fromStdString(font.family), "Liberation Sans", "DejaVu Sans", "sans-serif"});
    f.setPointSizeF(font.size_points);
    f.setBold(font.bold);
    return f;
}

int to_pixels(double points) { return static_cast<int>(std::lround(points * kPixelsPerPoint)); }

QRect to_pixel_rect(const ControlGeometry& g) {
    const int left = to_pixels(g.left), top = to_pixels(g.top);
    const int right = to_pixels(static_cast<double>(g.left) + g.width);
    const int bottom = to_pixels(static_cast<double>(g.top) + g.height);
    return QRect(left, top, right - left, bottom - top);
}

QString to_qstring(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QString caption_text(const std::string& utf8) { return to_qstring(utf8).replace("\r\n", "\n"); }

}  // namespace toolkit::qt
