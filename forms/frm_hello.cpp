#include "forms/frm_hello.h"

#include "forms/program.h"

namespace forms {

frm_hello::frm_hello(Program& program, const HelloDesign& d)
    : Form("frm_hello", d.form),
      Label1(add_control("Label1", d.title)),
      CommandButton1(add_control("CommandButton1", d.play)),
      CommandButton2(add_control("CommandButton2", d.leave)),
      Label2(add_control("Label2", d.credit)),
      program_(program) {}

void frm_hello::CommandButton1_Click() { program_.court().Do_Game(); }

void frm_hello::CommandButton2_Click() { program_.leave(); }

void frm_hello::clicked(toolkit::Control& control) {
    if (&control == &CommandButton1) CommandButton1_Click();
    else if (&control == &CommandButton2) CommandButton2_Click();
}

void frm_hello::close_requested() { program_.leave(); }

}  // namespace forms
