#pragma once

#include "toolkit/form.h"
#include "toolkit/number_cell.h"
#include "toolkit/runtime.h"

#include <cstdint>
#include <string>

namespace engine {

// The designed pieces of the court, supplied by whoever lays the court out.
struct CourtDesign {
    toolkit::FormLook form;
    toolkit::ControlDesign ball, racket, wall, goal, opponent;
};

// The court form: the playing field and the owner of the game's state. Its
// methods are the reset, the rally loop that runs a whole game, and the
// player's mouse actions, which arrive nested inside the loop's pumping.
class Court : public toolkit::Form {
public:
    Court(toolkit::Runtime& runtime, const CourtDesign& design);

    // The court's pieces, in stacking order from back to front: the ball is
    // drawn behind the rackets and bars.
    toolkit::Control& I_ball;
    toolkit::Control& b_racket;    // the player's racket; its caption is the player's score
    toolkit::Control& b_wall;      // the bar along the top; the player's points wear it down
    toolkit::Control& b_goal;      // the bar along the bottom; the opponent's points wear it down
    toolkit::Control& b_rack_opp;  // the opponent's racket; its caption is the opponent's score

    // The game's state.
    bool quit_game = false;              // leave the rally loop at the top of its next turn
    toolkit::NumberCell Delay_game;      // event pumps per animation frame
    toolkit::NumberCell delay_ini;       // Delay_game as chosen at game start
    toolkit::NumberCell kx;              // horizontal direction of the ball, +1 to the right
    std::int16_t ky = 0;                 // vertical direction of the ball, +1 downward
    toolkit::NumberCell half_racket_Width;  // subtracted from the mouse x to place the racket

    // Puts the court back to the start of a game.
    void start_settings();
    // Runs a whole game; returns when it is won, lost or stopped.
    void move_ball();

    void UserForm_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void b_racket_Click();
    void b_wall_Click();

    void mouse_moved(std::int16_t button, std::int16_t shift, float x, float y) override;
    void clicked(toolkit::Control& control) override;

protected:
    toolkit::Runtime& runtime() { return runtime_; }

private:
    double field_width() const;
    double field_height() const;
    void show_message(const std::string& prompt);
    // A won or lost game: its message, then a fresh court, then the loop is told to stop.
    void end_game(const std::string& message);

    toolkit::Runtime& runtime_;
};

}  // namespace engine
