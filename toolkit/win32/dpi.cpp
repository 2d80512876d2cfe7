#include "toolkit/win32/dpi.h"

#include <algorithm>
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

int to_pixels(double points, UINT dpi) { return static_cast<int>(std::lround(points * dpi / 72.0)); }

double to_points(int pixels, UINT dpi) { return pixels * 72.0 / dpi; }

RECT to_pixel_rect(const ControlGeometry& g, UINT dpi) {
    return {to_pixels(g.left, dpi), to_pixels(g.top, dpi), to_pixels(static_cast<double>(g.left) + g.width, dpi),
            to_pixels(static_cast<double>(g.top) + g.height, dpi)};
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
    const RECT& work = monitor.rcWork;
    const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
    const LONG left = std::max(work.left, std::min(frame.left, work.right - width));
    const LONG top = std::max(work.top, std::min(frame.top, work.bottom - height));
    return {left, top, left + width, top + height};
}

}  // namespace toolkit::win32
