#pragma once

#include "toolkit/look.h"

#include <windows.h>

// The toolkit's colours and fonts as GDI's.
namespace toolkit::win32 {

// System colours are the user's own, as Windows reports them.
COLORREF to_colorref(const Color& color);

// A GDI font of the toolkit's kind at a DPI: the designed face with the
// Cyrillic character set, its height in pixels from its size in points.
class GdiFont {
public:
    GdiFont(const Font& font, UINT dpi);
    ~GdiFont();
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;

    HFONT handle() const { return font_; }

private:
    HFONT font_;
};

// A brush of one colour, for as long as it lives.
class SolidBrush {
public:
    explicit SolidBrush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
    ~SolidBrush() { DeleteObject(brush_); }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;

    HBRUSH handle() const { return brush_; }

private:
    HBRUSH brush_;
};

}  // namespace toolkit::win32
