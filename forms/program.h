#pragma once

#include "forms/frm_court.h"
#include "forms/frm_hello.h"
#include "toolkit/form_slot.h"
#include "toolkit/runtime.h"

namespace forms {

// The two forms of the game, each created unshown on first use, and the ways
// the program starts and ends.
class Program {
public:
    explicit Program(toolkit::Runtime& runtime);

    toolkit::Runtime& runtime() { return runtime_; }
    frm_court& court() { return court_(); }
    frm_hello& hello() { return hello_(); }

    // The court is the start-up form; its activation brings the welcome form.
    void start();
    // Unloads the court, then the welcome form: with no form left the program ends.
    void leave();

private:
    toolkit::Runtime& runtime_;
    toolkit::FormSlot<frm_court> court_;
    toolkit::FormSlot<frm_hello> hello_;
};

}  // namespace forms
