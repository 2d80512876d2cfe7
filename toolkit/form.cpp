#include "toolkit/form.h"

#include <utility>

namespace toolkit {

Form::Form(std::string name, FormLook look) : name_(std::move(name)), look_(std::move(look)) {}

Control& Form::add_control(std::string name, const ControlDesign& design) {
    controls_.push_back(std::make_unique<Control>(std::move(name), design));
    return *controls_.back();
}

}  // namespace toolkit
