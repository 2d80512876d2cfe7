// The keyboard on the welcome window: ИГРАТЬ focused each time it is shown,
// Tab between the two buttons only, and Space or Enter pressing the focused
// button once however long they are held.
#include "win32_test_support.h"

namespace win32_test {
namespace {

using Keyboard = GameOnWin32;

TEST_F(Keyboard, play_has_the_focus_each_time_the_welcome_window_is_shown) {
    HWND play = control_window(hello, hello.CommandButton1), leave = control_window(hello, hello.CommandButton2);
    EXPECT_EQ(GetFocus(), play);
    SetFocus(leave);
    runtime.hide(hello);
    settle(20);
    runtime.show(hello, &court);
    settle(20);
    EXPECT_EQ(GetFocus(), play);
}

TEST_F(Keyboard, tab_moves_between_the_two_buttons_only) {
    HWND play = control_window(hello, hello.CommandButton1), leave = control_window(hello, hello.CommandButton2);
    for (HWND expected : {leave, play, leave}) {
        post_key(GetFocus(), VK_TAB);
        settle(20);
        EXPECT_EQ(GetFocus(), expected);
    }
}

// Under Wine the window manager's activation of a window can come after the
// button clicked in it went down: it must not take that button's focus, and
// with it the click.
TEST_F(Keyboard, an_activation_during_a_click_leaves_the_button_its_click) {
    HWND wall = control_window(court, court.b_wall);
    PostMessageW(wall, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    settle(20);
    SendMessageW(window(court).handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    PostMessageW(wall, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    settle(20);
    EXPECT_TRUE(court.quit_game);
}

// A form with one button that counts its clicks.
struct CountingForm : toolkit::Form {
    CountingForm() : Form("counting", look()), button(add_control("button", design())) {}
    static toolkit::FormLook look() {
        toolkit::FormLook l;
        l.caption = "Кнопка";
        l.client_width_twips = 3000;
        l.client_height_twips = 2000;
        return l;
    }
    static toolkit::ControlDesign design() {
        toolkit::ControlDesign d;
        d.geometry = {10, 10, 80, 30};
        d.caption = "ЖМИ";
        return d;
    }
    void clicked(toolkit::Control&) override { ++clicks; }
    toolkit::Control& button;
    int clicks = 0;
};

TEST(KeyboardHeld, space_or_enter_held_down_presses_the_focused_button_once) {
    for (const WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
        SCOPED_TRACE(key);
        Win32Runtime runtime;
        CountingForm form;
        runtime.load(form);
        runtime.show(form);
        HWND button = runtime.window_of(form)->window_of(form.button);
        SetFocus(button);
        post_key(button, key, 20);
        for (int i = 0; i < 20; ++i) {
            runtime.deliver_events();
            Sleep(5);
        }
        EXPECT_EQ(form.clicks, 1);
        runtime.unload(form);
    }
}

}  // namespace
}  // namespace win32_test
