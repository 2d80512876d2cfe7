#pragma once

#include "toolkit/control.h"
#include "toolkit/win32/win32_look.h"

#include <windows.h>

// How the controls draw themselves, in GDI. Painting only reads the control.
namespace toolkit::win32 {

// A bitmap to draw into and then copy to the screen at once, so nothing flickers.
class BackBuffer {
public:
    BackBuffer(HDC screen, int width, int height);
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    HDC dc() const { return dc_; }
    void copy_to(HDC screen, int x, int y) const { BitBlt(screen, x, y, width_, height_, dc_, 0, 0, SRCCOPY); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ before_;
    int width_, height_;
};

void fill(HDC dc, const RECT& r, COLORREF colour);

// A command button in the classic raised style, in its own colours, over
// `area`; `state` is the owner-draw state (pressed, disabled, focused). A
// disabled one keeps its colours and engraves its caption.
void paint_button(HDC dc, const RECT& area, const Control& control, const GdiFont& font, UINT state);
// A label's caption, wrapped if it wraps, from the top of `area`. Its back is
// painted by the caller: its colour, or the form through a transparent one.
void paint_label_text(HDC dc, const RECT& area, const Control& control, const GdiFont& font);

}  // namespace toolkit::win32
