#include "forms/frm_court.h"

#include "engine/court_rules.h"
#include "forms/court_layout.h"
#include "forms/program.h"
#include "toolkit/conversions.h"

namespace forms {

namespace {

const toolkit::InputBoxRequest kDelayRequest{engine::kDelayPrompt, engine::kDelayTitle, engine::kDelayDefault,
                                              engine::kBoxPositionTwips, engine::kBoxPositionTwips};

}  // namespace

frm_court::frm_court(Program& program) : Court(program.runtime(), court_design()), program_(program) {}

void frm_court::Do_Game() {
    // Only an accepted number leaves the prompt; anything else asks again.
    // A NaN cannot come from the conversion, and infinities fail the range.
    double v = 0;
    do {
        v = toolkit::text_to_number(runtime().input_box(kDelayRequest));
    } while (v < engine::kMinDelay || v > engine::kMaxDelay);
    Delay_game = v * engine::kPumpsPerDelayUnit;
    delay_ini = Delay_game;
    runtime().hide(program_.hello());
    start_settings();
    move_ball();
    runtime().show(program_.hello(), this);
}

void frm_court::UserForm_Activate() { runtime().show(program_.hello(), this); }

void frm_court::close_requested() { program_.leave(); }

}  // namespace forms
