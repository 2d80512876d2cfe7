#include "toolkit/win32/control_painting.h"

#include "toolkit/win32/utf16.h"

#include <algorithm>

namespace toolkit::win32 {
namespace {

void draw_text(HDC dc, const GdiFont& font, const std::string& caption, RECT r, COLORREF colour, UINT format) {
    HGDIOBJ before = SelectObject(dc, font.handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const std::wstring text = to_utf16(caption);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
    SelectObject(dc, before);
}

}  // namespace

BackBuffer::BackBuffer(HDC screen, int width, int height)
    : dc_(CreateCompatibleDC(screen)),
      bitmap_(CreateCompatibleBitmap(screen, std::max(width, 1), std::max(height, 1))),
      before_(SelectObject(dc_, bitmap_)),
      width_(width),
      height_(height) {}

BackBuffer::~BackBuffer() {
    SelectObject(dc_, before_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
    SolidBrush brush(colour);
    FillRect(dc, &r, brush.handle());
}

void paint_button(HDC dc, const RECT& area, const Control& control, const GdiFont& font, UINT state) {
    const ControlLook& look = control.look();
    const bool down = state & ODS_SELECTED;
    fill(dc, area, to_colorref(look.back));
    RECT edge = area;
    DrawEdge(dc, &edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT text = {area.left + 2, area.top + 2, area.right - 2, area.bottom - 2};
    if (down) OffsetRect(&text, 1, 1);
    constexpr UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (state & ODS_DISABLED) {
        RECT below = text;
        OffsetRect(&below, 1, 1);
        draw_text(dc, font, control.caption(), below, GetSysColor(COLOR_BTNHIGHLIGHT), format);
        draw_text(dc, font, control.caption(), text, GetSysColor(COLOR_GRAYTEXT), format);
    } else {
        draw_text(dc, font, control.caption(), text, to_colorref(look.fore), format);
    }
    if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT)) {
        RECT focus = {area.left + 3, area.top + 3, area.right - 3, area.bottom - 3};
        DrawFocusRect(dc, &focus);
    }
}

void paint_label_text(HDC dc, const RECT& area, const Control& control, const GdiFont& font) {
    const ControlLook& look = control.look();
    const UINT format = DT_TOP | (look.alignment == TextAlignment::centre ? DT_CENTER : DT_LEFT) |
                        (look.word_wrap ? DT_WORDBREAK : DT_SINGLELINE);
    draw_text(dc, font, control.caption(), area, to_colorref(look.fore), format);
}

}  // namespace toolkit::win32
