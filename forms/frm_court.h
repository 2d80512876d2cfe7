#pragma once

#include "engine/court.h"

namespace forms {

class Program;

// The court form as the program uses it: the engine's court, laid out as
// designed, which also starts games from the welcome form.
class frm_court : public engine::Court {
public:
    explicit frm_court(Program& program);

    // Asks for the delay until it is from 10 to 100, then runs one game with
    // the welcome form hidden.
    void Do_Game();
    void UserForm_Activate();

    void activated() override { UserForm_Activate(); }
    // Closing the court window leaves the program, as the exit button does.
    void close_requested() override;

private:
    Program& program_;
};

}  // namespace forms
