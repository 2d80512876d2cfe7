#pragma once

#include "forms/hello_layout.h"
#include "toolkit/form.h"

namespace forms {

class Program;

// The welcome form: the title, the credit, and the buttons that start a game
// ("ИГРАТЬ") and leave the program ("ВЫЙТИ").
class frm_hello : public toolkit::Form {
public:
    explicit frm_hello(Program& program, const HelloDesign& design = hello_design());

    // In stacking order from back to front: the credit is drawn over the title.
    toolkit::Control& Label1;          // the title
    toolkit::Control& CommandButton1;  // "ИГРАТЬ"
    toolkit::Control& CommandButton2;  // "ВЫЙТИ"
    toolkit::Control& Label2;          // the credit

    void CommandButton1_Click();
    void CommandButton2_Click();

    void clicked(toolkit::Control& control) override;
    // Closing the welcome window leaves the program, as the exit button does.
    void close_requested() override;

private:
    Program& program_;
};

}  // namespace forms
