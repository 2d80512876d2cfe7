#include "forms/program.h"

namespace forms {

Program::Program(toolkit::Runtime& runtime)
    : runtime_(runtime),
      court_(runtime, [this] { return std::make_unique<frm_court>(*this); }),
      hello_(runtime, [this] { return std::make_unique<frm_hello>(*this); }) {}

void Program::start() { runtime_.show(court()); }

void Program::leave() {
    court_.unload();
    hello_.unload();
}

}  // namespace forms
