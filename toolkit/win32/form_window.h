#pragma once

#include "toolkit/button_keys.h"
#include "toolkit/control.h"
#include "toolkit/win32/message_target.h"
#include "toolkit/win32/picture.h"
#include "toolkit/win32/win32_look.h"

#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

namespace toolkit {
class Form;
}  // namespace toolkit

namespace toolkit::win32 {

class Win32Runtime;

// The top-level window of a form: its designed client size at the window's
// DPI, fixed, with no maximise box; its back colour and background picture;
// one child window per control, whose window text is the control's caption
// (what screen readers read), in stacking order; and the form's events
// passed through the runtime's error boundary.
class FormWindow : private ControlObserver, private MessageTarget {
public:
    // Made hidden, with the client area at its designed place on the screen.
    FormWindow(Form& form, Win32Runtime& runtime);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND handle() const { return window_; }
    HWND window_of(const Control& control) const;
    UINT dpi() const { return dpi_; }

    // Where the client area stands on the screen as designed, and now, in pixels.
    POINT designed_client_at() const;
    POINT client_at() const;
    // The screen scale at which this window, frame included, fits the work
    // area of its monitor at its DPI; never above 1.
    double fitting_scale() const;
    // Lays the window out afresh at its DPI and the screen scale, its client
    // area at `at` (screen pixels), kept on the work area.
    void lay_out_at(POINT at);

    // Stops mirroring the form and hides the window; its controls may
    // outlive it. The window itself goes with this object.
    void detach();
    // Owned by `owner`: Windows keeps it above the owner, which stays usable.
    // Its client area is centred on the owner's, kept on the work area.
    void stay_above(const FormWindow& owner);
    // Shows and activates the window; the keyboard starts at the first
    // control in tab order that takes it.
    void show();
    void hide();
    // Stops asking for the activation back: another window was shown since.
    void let_go();
    // Raises the form's activation event from the message loop.
    void post_activation();

    // Keys the form handles before its controls see them: Tab and Shift+Tab
    // between the controls; Space and Enter (as Space) on a button, which
    // presses it once however long the key is held. True if taken.
    bool translate_key(MSG& message);

private:
    struct Child {
        Control* control;
        HWND window;
        std::unique_ptr<GdiFont> font;
        Picture picture;  // an image's, at its size in pixels
    };

    LRESULT on_message(UINT message, WPARAM w, LPARAM l) override;
    // Raises an event of the form, unless it is detached, through the error boundary.
    void raise(const std::function<void(Form&)>& event);
    void property_changed(const Control& control, Property property) override;

    SIZE client_size() const;
    // The frame's edges as offsets from the client area's, as the window has
    // them (under Wine they stay those of the DPI it was made at), or as
    // Windows reckons them at the window's DPI before it has a client area.
    RECT border() const;
    // Moves the window so its client area starts at `at` (screen pixels), kept on the work area.
    void place_client_at(POINT at);
    void lay_out();
    void place_child(Child& child);
    void paint();
    // Paints the form's own surface (back colour and picture) under `area`,
    // in client pixels, onto `dc`, whose (0, 0) is the area's top-left corner.
    void paint_surface(HDC dc, const RECT& area) const;
    void draw_item(const DRAWITEMSTRUCT& item);
    void move_focus(bool backwards);
    void focus_first();
    void keep_foreground();
    void mouse_moved(WPARAM keys, LPARAM at);
    void dpi_changed(UINT dpi, const RECT& suggested);
    Child* child_of(HWND window);

    Form* form_;
    Win32Runtime& runtime_;
    UINT dpi_ = 96;
    Picture background_;
    std::vector<Child> children_;  // in stacking order, back to front
    std::vector<HWND> tab_order_;
    HWND last_focus_ = nullptr;
    ButtonKeys keys_;              // of the button below
    HWND keys_button_ = nullptr;
    int foreground_tries_ = 0;
};

}  // namespace toolkit::win32
