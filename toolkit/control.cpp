#include "toolkit/control.h"

#include <utility>

namespace toolkit {

Control::Control(std::string name, const ControlDesign& design)
    : name_(std::move(name)), kind_(design.kind), geometry_(design.geometry), caption_(design.caption),
      look_(design.look) {}

void Control::set_left(float v) {
    geometry_.left = v;
    changed(ControlObserver::Property::left);
}

void Control::set_top(float v) {
    geometry_.top = v;
    changed(ControlObserver::Property::top);
}

void Control::set_height(float v) {
    geometry_.height = v;
    changed(ControlObserver::Property::height);
}

void Control::set_caption(std::string v) {
    caption_ = std::move(v);
    changed(ControlObserver::Property::caption);
}

void Control::changed(ControlObserver::Property p) {
    if (observer_) observer_->property_changed(*this, p);
}

}  // namespace toolkit
