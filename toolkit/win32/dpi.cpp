#include "toolkit/win32/dpi.h"

#include "toolkit/pixel_grid.h"
#include "toolkit/screen_fit.h"
#include "toolkit/units.h"

#include <cmath>

namespace toolkit::win32 {
namespace {

// Functions of Windows 10 looked up at run time, so the exe still starts
// where they are missing.
template <class F>
F user32_function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

constexpr UINT kDefaultDpi = 96;

double g_screen_scale = 1.0;

Area area_of(const RECT& r) { return {double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)}; }

// The work area of the monitor `r` is mostly on, or nearest to.
bool work_area_of(const RECT& r, RECT& work) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
    work = monitor.rcWork;
    return true;
}

}  // namespace

void become_dpi_aware() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (const auto set = user32_function<SetContext>("SetProcessDpiAwarenessContext"))
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

UINT dpi_of(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto get = user32_function<GetDpi>("GetDpiForWindow");
    if (get && window) {
        if (const UINT dpi = get(window)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

void set_screen_scale(double scale) { g_screen_scale = scale; }

double screen_scale() { return g_screen_scale; }

int to_pixels(double points, UINT dpi) { return toolkit::to_pixels(points, dpi / kPointsPerInch * g_screen_scale); }

double to_points(int pixels, UINT dpi) { return pixels * kPointsPerInch / dpi / g_screen_scale; }

double picture_scale(UINT dpi) { return dpi / double(kDefaultDpi) * g_screen_scale; }

RECT to_pixel_rect(const ControlGeometry& g, UINT dpi) {
    const PixelRect r = toolkit::to_pixel_rect(g, dpi / kPointsPerInch * g_screen_scale);
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

RECT frame_around(const RECT& client, DWORD style, DWORD ex_style, UINT dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = user32_function<Adjust>("AdjustWindowRectExForDpi");
    RECT frame = client;
    if (!adjust || !adjust(&frame, style, FALSE, ex_style, dpi)) AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    return frame;
}

double scale_to_fit(double width_points, double height_points, const RECT& border, UINT dpi, const RECT& on) {
    RECT work{};
    if (!work_area_of(on, work)) return 1.0;
    // At scale 1 the pixels are the DPI's own: the display's scale is 1 in them.
    const Extent design{width_points * dpi / kPointsPerInch, height_points * dpi / kPointsPerInch};
    const Extent frame{double(border.right - border.left), double(border.bottom - border.top)};
    const Area free = area_of(work);
    return fit_scale(design, frame, {free.width, free.height}, 1.0);
}

RECT kept_on_work_area(const RECT& frame) {
    RECT work{};
    if (!work_area_of(frame, work)) return frame;
    const Area placed = place_inside(area_of(frame), area_of(work));
    const LONG left = std::lround(placed.left), top = std::lround(placed.top);
    return {left, top, left + frame.right - frame.left, top + frame.bottom - frame.top};
}

}  // namespace toolkit::win32
