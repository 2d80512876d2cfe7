#pragma once

#include "toolkit/win32/message_target.h"
#include "toolkit/win32/win32_look.h"

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

namespace toolkit::win32 {

// Asks an open box to take the activation back from a form window.
constexpr UINT kActivateBox = WM_APP + 2;

// What a box shows: the input box's prompt, edit field, ОК and Отмена, or a
// message with ОК alone.
struct BoxContent {
    std::string title;
    std::string text;
    std::optional<std::string> default_answer;  // with an edit field holding it
    // Where the box's frame starts on the screen, in twips; none centres it on its owner.
    struct Twips {
        float x, y;
    };
    std::optional<Twips> frame_at_twips;
};

// A box window of our own, owned by a form window: a plain popup that a box
// loop (Win32Runtime) runs, so the desktop's requests to close the forms
// behind it still reach them, as a system dialog's own modal loop would not
// let them. Enter confirms on its release, Escape and closing cancel.
class BoxWindow : private MessageTarget {
public:
    // Made hidden; `owner` may be null.
    BoxWindow(const BoxContent& content, HWND owner);
    ~BoxWindow();
    BoxWindow(const BoxWindow&) = delete;
    BoxWindow& operator=(const BoxWindow&) = delete;

    HWND handle() const { return window_; }
    HWND edit() const { return edit_; }
    void show();
    bool closed() const { return closed_; }
    // The edit field's text if the box was confirmed, else the empty text.
    std::string answer() const { return answer_; }

    // Keys the box handles itself: Enter (on its release), Escape, Tab. True if taken.
    bool translate_key(MSG& message);

private:
    LRESULT on_message(UINT message, WPARAM w, LPARAM l) override;
    void finish(bool confirmed);
    void lay_out(const BoxContent& content, HWND owner);

    HWND text_ = nullptr, edit_ = nullptr, ok_ = nullptr, cancel_ = nullptr;
    std::unique_ptr<GdiFont> font_;
    HWND focus_ = nullptr;
    bool closed_ = false;
    std::string answer_;
};

}  // namespace toolkit::win32
