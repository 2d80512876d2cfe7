#pragma once

#include <windows.h>

namespace toolkit::win32 {

// An object that handles the messages of one window of a window class of
// ours. The window's procedure finds the object through the window's user
// data; messages that come before the object is bound, or after the window
// is gone, get Windows's default handling.
class MessageTarget {
protected:
    ~MessageTarget() = default;

    // Registers a window class of ours once, with the default procedure.
    static void register_class(const wchar_t* name, HBRUSH background, HICON icon);
    // Makes `window`'s messages go to on_message(), and remembers it as window_.
    void bind(HWND window);

    virtual LRESULT on_message(UINT message, WPARAM w, LPARAM l) = 0;

    HWND window_ = nullptr;  // null once the window is gone

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
};

}  // namespace toolkit::win32
