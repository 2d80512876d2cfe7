#include "win32_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace win32_test {
namespace {

Win32Runtime* box_runtime = nullptr;
std::function<void(BoxWindow&)> box_action;

void CALLBACK look_for_a_box(HWND, UINT, UINT_PTR timer, DWORD) {
    BoxWindow* box = box_runtime ? box_runtime->open_box() : nullptr;
    if (!box) return;
    KillTimer(nullptr, timer);
    auto action = std::exchange(box_action, nullptr);
    action(*box);
}

LPARAM key_lparam(WPARAM key, bool up, bool repeated) {
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
    LPARAM l = 1 | (scan << 16);
    if (repeated || up) l |= LPARAM{1} << 30;
    if (up) l |= LPARAM{1} << 31;
    return l;
}

}  // namespace

void when_a_box_opens(Win32Runtime& runtime, std::function<void(BoxWindow&)> action) {
    box_runtime = &runtime;
    box_action = std::move(action);
    SetTimer(nullptr, 0, 10, look_for_a_box);
}

void post_key(HWND window, WPARAM key, int repeats) {
    PostMessageW(window, WM_KEYDOWN, key, key_lparam(key, false, false));
    for (int i = 0; i < repeats; ++i) PostMessageW(window, WM_KEYDOWN, key, key_lparam(key, false, true));
    PostMessageW(window, WM_KEYUP, key, key_lparam(key, true, false));
}

COLORREF Grab::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const std::uint32_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Grab grab_client(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    Grab grab;
    grab.width = client.right;
    grab.height = client.bottom;
    grab.pixels.resize(static_cast<std::size_t>(grab.width) * static_cast<std::size_t>(grab.height));
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = grab.width;
    info.bmiHeader.biHeight = -grab.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ before = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, grab.width, grab.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const std::uint32_t*>(bits), grab.pixels.size(), grab.pixels.begin());
    SelectObject(memory, before);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return grab;
}

bool close_to(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

GameOnWin32::GameOnWin32() {
    program.start();
    // The window manager hands the keyboard to the welcome window last.
    const DWORD started = GetTickCount();
    while (GetForegroundWindow() != window(hello).handle() && GetTickCount() - started < 3000) settle(20);
    settle();
}

// The program is left as the exit button leaves it, so every window is
// hidden before the next test.
GameOnWin32::~GameOnWin32() {
    if (!runtime.ending()) program.leave();
}

void GameOnWin32::settle(int quiet_ms) {
    DWORD quiet_since = GetTickCount();
    while (GetTickCount() - quiet_since < static_cast<DWORD>(quiet_ms)) {
        MSG m;
        if (PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE)) {
            runtime.deliver_events();
            quiet_since = GetTickCount();
        } else {
            MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
}

}  // namespace win32_test
