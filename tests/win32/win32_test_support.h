#pragma once

// What the Win32 backend's tests share: the game's forms on the real
// backend, messages delivered as the runtime delivers them, actions done
// while a box is open, and pixels read back from a window.

#include "forms/program.h"
#include "toolkit/win32/box_window.h"
#include "toolkit/win32/dpi.h"
#include "toolkit/win32/form_window.h"
#include "toolkit/win32/utf16.h"
#include "toolkit/win32/win32_runtime.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

namespace win32_test {

using toolkit::win32::BoxWindow;
using toolkit::win32::FormWindow;
using toolkit::win32::Win32Runtime;

// The window text of a window, as UTF-8.
inline std::string text_of(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return toolkit::win32::to_utf8(text);
}

// A window's rectangle in its parent's client area (a top-level window's: on the screen).
inline RECT rect_in_parent(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    if (HWND parent = GetParent(window); parent && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Runs `action` once the runtime has a box open, from the box's own loop
// (a thread timer's callback, delivered like any message).
void when_a_box_opens(Win32Runtime& runtime, std::function<void(BoxWindow&)> action);

// A key pressed and released on `window`, `repeats` more presses coming
// while it is held, as the keyboard sends them.
void post_key(HWND window, WPARAM key, int repeats = 0);

// The client area of a window as the screen shows it, as 0x00RRGGBB pixels, row by row.
struct Grab {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    COLORREF at(int x, int y) const;
};
Grab grab_client(HWND window);

// Every colour channel within `tolerance` of the other colour's.
bool close_to(COLORREF a, COLORREF b, int tolerance);

// The game's two forms on the Win32 backend, started as the program starts:
// the court shown, its activation bringing the welcome window.
class GameOnWin32 : public testing::Test {
protected:
    GameOnWin32();
    ~GameOnWin32() override;

    // Delivers messages until none has come for `quiet_ms`.
    void settle(int quiet_ms = 100);
    FormWindow& window(const toolkit::Form& form) const { return *runtime.window_of(form); }
    HWND control_window(const toolkit::Form& form, const toolkit::Control& control) const {
        return window(form).window_of(control);
    }

    Win32Runtime runtime;
    forms::Program program{runtime};
    forms::frm_court& court = program.court();
    forms::frm_hello& hello = program.hello();
};

}  // namespace win32_test
