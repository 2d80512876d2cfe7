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

int to_pixels(double points, UINT dpi) { return toolkit::to_pixels(points, dpi / kPointsPerInch); }

double to_points(int pixels, UINT dpi) { return pixels * kPointsPerInch / dpi; }

RECT to_pixel_rect(const ControlGeometry& g, UINT dpi) {
    const PixelRect r = toolkit::to_pixel_rect(g, dpi / kPointsPerInch);
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

RECT frame_around(const RECT& client, DWORD style, DWORD ex_style, UINT dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = user32_function<Adjust>("AdjustWindowRectExForDpi");
    RECT frame = client;
    if (!adjust || !adjust(&frame, style, FALSE, ex_style, dpi)) AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    return frame;
}

RECT kept_on_work_area(const RECT& frame) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) return frame;
    const auto area = [](const RECT& r) {
        return Area{double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)};
    };
    const Area placed = place_inside(area(frame), area(monitor.rcWork));
    const LONG left = std::lround(placed.left), top = std::lround(placed.top);
    return {left, top, left + frame.right - frame.left, top + frame.bottom - frame.top};
}

}  // namespace toolkit::win32
