#include "toolkit/qt/qt_look.h"

#include "toolkit/pixel_grid.h"

#include "toolkit/units.h"

#include <QFontDatabase>
#include <cmath>
#include <map>

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

namespace {

// One mapping for the whole program: every window, box and font follows it.
double g_screen_scale = 1.0;

// Qt's own fallback, which fontconfig resolves to whatever face it has.
const QString kAnyFace = "sans-serif";

// The designed face where it is installed, else a sans-serif face of similar
// width that has Cyrillic, else whatever there is. Chosen once per
// face: a family list that starts with a missing face costs Qt a search of
// fallbacks for every font made, about a third of the program's start beyond
// a minimal one's.
const QString& installed_family(const std::string& designed) {
    static std::map<std::string, QString> chosen;
    const auto [it, fresh] = chosen.try_emplace(designed, kAnyFace);
    if (fresh) {
        for (const QString& family : {QString::fromStdString(designed), QString("Liberation Sans"), QString("DejaVu Sans")}) {
            if (!QFontDatabase::hasFamily(family)) continue;
            it->second = family;
            break;
        }
    }
    return it->second;
}

}  // namespace

void set_screen_scale(double scale) { g_screen_scale = scale; }
double screen_scale() { return g_screen_scale; }

QFont at_screen_scale(QFont font) {
    if (g_screen_scale != 1.0 && font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * g_screen_scale);
    return font;
}

bool drawing_face_installed() { return installed_family(Font{}.family) != kAnyFace; }

QFont to_qfont(const Font& font) {
    QFont f(installed_family(font.family));
    f.setPointSizeF(font.size_points);
    f.setBold(font.bold);
    return at_screen_scale(f);
}

int to_pixels(double points) { return toolkit::to_pixels(points, kPixelsPerPoint * g_screen_scale); }

QPointF to_points(QPointF pixels) { return pixels / (kPixelsPerPoint * g_screen_scale); }

QRect to_pixel_rect(const ControlGeometry& g) {
    const PixelRect r = toolkit::to_pixel_rect(g, kPixelsPerPoint * g_screen_scale);
    return QRect(r.left, r.top, r.width, r.height);
}

QSize client_pixel_size(const FormLook& look) {
    return {to_pixels(look.client_width_twips / kTwipsPerPoint), to_pixels(look.client_height_twips / kTwipsPerPoint)};
}

QString to_qstring(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QString caption_text(const std::string& utf8) { return to_qstring(utf8).replace("\r\n", "\n"); }

}  // namespace toolkit::qt
