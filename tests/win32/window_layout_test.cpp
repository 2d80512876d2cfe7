// The windows as the layouts design them, and the controls' properties
// mirrored into their child windows: places, sizes and window texts.
#include "win32_test_support.h"

#include "toolkit/units.h"

namespace win32_test {
namespace {

using toolkit::win32::to_pixel_rect;
using toolkit::win32::to_pixels;

using WindowLayout = GameOnWin32;

RECT design_rect(const toolkit::Control& c, UINT dpi) {
    return to_pixel_rect({c.left(), c.top(), c.width(), c.height()}, dpi);
}

TEST_F(WindowLayout, every_control_is_a_child_window_where_the_design_puts_it_with_its_caption_as_its_text) {
    for (const toolkit::Form* form : {static_cast<const toolkit::Form*>(&court), static_cast<const toolkit::Form*>(&hello)}) {
        const UINT dpi = window(*form).dpi();
        for (const auto& c : form->controls()) {
            SCOPED_TRACE(c->name());
            HWND child = control_window(*form, *c);
            ASSERT_TRUE(child);
            EXPECT_EQ(GetParent(child), window(*form).handle());
            EXPECT_TRUE(rect_in_parent(child) == design_rect(*c, dpi));
            EXPECT_EQ(text_of(child), c->caption());
            EXPECT_EQ(IsWindowEnabled(child) != FALSE, c->look().enabled);
        }
    }
}

TEST_F(WindowLayout, each_form_has_its_designed_client_size_and_title_in_a_fixed_frame_without_maximise_box) {
    for (const toolkit::Form* form : {static_cast<const toolkit::Form*>(&court), static_cast<const toolkit::Form*>(&hello)}) {
        SCOPED_TRACE(form->name());
        HWND w = window(*form).handle();
        const UINT dpi = window(*form).dpi();
        RECT client{};
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, to_pixels(form->width_twips() / toolkit::kTwipsPerPoint, dpi));
        EXPECT_EQ(client.bottom, to_pixels(form->height_twips() / toolkit::kTwipsPerPoint, dpi));
        const LONG style = GetWindowLongW(w, GWL_STYLE);
        EXPECT_FALSE(style & WS_MAXIMIZEBOX);
        EXPECT_FALSE(style & WS_THICKFRAME);
        EXPECT_EQ(text_of(w), form->look().caption);
    }
}

TEST_F(WindowLayout, the_court_stands_at_its_designed_place_and_owns_the_welcome_window_centred_on_it) {
    HWND c = window(court).handle(), h = window(hello).handle();
    const UINT dpi = window(court).dpi();
    POINT corner{0, 0};
    ClientToScreen(c, &corner);
    EXPECT_EQ(corner.x, to_pixels(1236 / toolkit::kTwipsPerPoint, dpi));
    EXPECT_EQ(corner.y, to_pixels(1440 / toolkit::kTwipsPerPoint, dpi));

    EXPECT_EQ(GetWindow(h, GW_OWNER), c);
    EXPECT_TRUE(IsWindowVisible(h));
    RECT rc{}, rh{};
    GetClientRect(c, &rc);
    GetClientRect(h, &rh);
    MapWindowPoints(c, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&rh), 2);
    EXPECT_LE(std::abs((rc.left + rc.right) - (rh.left + rh.right)), 1);
    EXPECT_LE(std::abs((rc.top + rc.bottom) - (rh.top + rh.bottom)), 1);
}

TEST_F(WindowLayout, writes_move_resize_and_relabel_the_child_windows_and_read_back_exactly) {
    const UINT dpi = window(court).dpi();
    const struct {
        toolkit::Control& control;
        std::function<void(toolkit::Control&)> write;
    } writes[] = {
        {court.b_racket, [](toolkit::Control& c) { c.set_left(-20.5f); }},
        {court.b_rack_opp, [](toolkit::Control& c) { c.set_left(401.25f); }},
        {court.I_ball, [](toolkit::Control& c) { c.set_top(123.456f); }},
        {court.b_goal, [](toolkit::Control& c) { c.set_height(14.999f); }},
        {court.b_wall, [](toolkit::Control& c) { c.set_height(1.0f); }},
        {court.b_racket, [](toolkit::Control& c) { c.set_caption(" 13"); }},
        {court.b_rack_opp, [](toolkit::Control& c) { c.set_caption("ПОЗДРАВЛЯЮ"); }},
    };
    for (std::size_t i = 0; i < std::size(writes); ++i) {
        SCOPED_TRACE(i);
        toolkit::Control& c = writes[i].control;
        writes[i].write(c);
        settle(20);
        EXPECT_TRUE(rect_in_parent(control_window(court, c)) == design_rect(c, dpi));
        EXPECT_EQ(text_of(control_window(court, c)), c.caption());
    }
    EXPECT_EQ(court.b_goal.height(), 14.999f);
    EXPECT_EQ(court.I_ball.top(), 123.456f);
}

}  // namespace
}  // namespace win32_test
