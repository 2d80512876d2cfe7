#include "toolkit/win32/win32_look.h"

#include "toolkit/win32/dpi.h"
#include "toolkit/win32/utf16.h"

namespace toolkit::win32 {

COLORREF to_colorref(const Color& c) {
    switch (c.system) {
    case Color::System::button_face: return GetSysColor(COLOR_BTNFACE);
    case Color::System::button_text: return GetSysColor(COLOR_BTNTEXT);
    case Color::System::scroll_bar: return GetSysColor(COLOR_SCROLLBAR);
    case Color::System::none: break;
    }
    return RGB(c.r, c.g, c.b);
}

GdiFont::GdiFont(const Font& font, UINT dpi)
    // A negative height asks for the character height without the internal
    // leading: the height a size in points names.
    : font_(CreateFontW(-to_pixels(font.size_points, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                        RUSSIAN_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, to_utf16(font.family).c_str())) {}

GdiFont::~GdiFont() { DeleteObject(font_); }

}  // namespace toolkit::win32
