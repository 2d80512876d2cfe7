#include "engine/court.h"

#include "engine/court_rules.h"
#include "toolkit/conversions.h"

namespace engine {

using toolkit::Int;
using toolkit::NumberCell;

Court::Court(toolkit::Runtime& runtime, const CourtDesign& d)
    : Form("frm_court", d.form),
      I_ball(add_control("I_ball", d.ball)),
      b_racket(add_control("b_racket", d.racket)),
      b_wall(add_control("b_wall", d.wall)),
      b_goal(add_control("b_goal", d.goal)),
      b_rack_opp(add_control("b_rack_opp", d.opponent)),
      runtime_(runtime) {}

double Court::field_width() const { return width_twips() / kTwipsPerFieldPoint; }
double Court::field_height() const { return height_twips() / kTwipsPerFieldPoint; }

namespace {

// +1 or -1 with equal chance: Int(2 * Rnd + 1) is 1 or 2.
std::int16_t random_direction(toolkit::Runtime& rt) {
    return Int(2.0f * rt.rnd() + 1.0f) == 2 ? std::int16_t{1} : std::int16_t{-1};
}

}  // namespace

void Court::start_settings() {
    toolkit::Runtime& rt = runtime_;
    quit_game = false;
    kx = random_direction(rt);
    ky = random_direction(rt);
    b_goal.set_top(kGoalTopAfterReset);
    b_goal.set_height(kBarHeightAfterReset);
    b_wall.set_height(kBarHeightAfterReset);
    // The ball's corner, not its centre, goes to the middle of the field.
    I_ball.set_left(static_cast<float>(field_width() / 2));
    I_ball.set_top(static_cast<float>(field_height() / 2));
    // The racket's width is in points already, yet it is divided by the twips
    // divisor too: the pointer sits about 1.2 points right of the racket's left end.
    half_racket_Width = static_cast<double>(b_racket.width()) / kTwipsPerFieldPoint / 2;
    b_rack_opp.set_caption("0");
    b_racket.set_caption("0");
}

void Court::UserForm_MouseMove(std::int16_t /*Button*/, std::int16_t /*Shift*/, float X, float /*Y*/) {
    // No clamping: the racket may leave the field with the mouse.
    b_racket.set_left(static_cast<float>(X - half_racket_Width.value()));
    runtime_.pump();
}

void Court::b_racket_Click() {
    // A click the stack cannot take is refused before it changes anything.
    runtime_.check_room_to_nest();
    Delay_game = Delay_game - NumberCell(kRacketClickSpeedUp);
    if (Delay_game <= NumberCell(std::int16_t{0})) Delay_game = delay_ini;
    start_settings();
    move_ball();
}

void Court::b_wall_Click() { quit_game = true; }

void Court::mouse_moved(std::int16_t button, std::int16_t shift, float x, float y) {
    UserForm_MouseMove(button, shift, x, y);
}

void Court::clicked(toolkit::Control& control) {
    if (&control == &b_racket) b_racket_Click();
    else if (&control == &b_wall) b_wall_Click();
}

void Court::show_message(const std::string& prompt) {
    // Whatever the player leaves in the box, and however it is closed, the game goes on the same.
    (void)runtime_.input_box({prompt, kMessageTitle, kMessageDefault, kBoxPositionTwips, kBoxPositionTwips});
}

}  // namespace engine
