#pragma once

#include "toolkit/control.h"
#include "toolkit/look.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace toolkit {

// A form of the form toolkit: its designed look and its controls, in stacking
// order from back to front. Backends raise its events through
// Runtime::dispatch; forms override the ones they handle.
class Form {
public:
    Form(std::string name, FormLook look);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    const std::string& name() const { return name_; }
    const FormLook& look() const { return look_; }

    // The form's Width and Height as the game reads them: its client size in twips.
    float width_twips() const { return look_.client_width_twips; }
    float height_twips() const { return look_.client_height_twips; }

    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // The form has just been shown for the first time.
    virtual void activated() {}
    // The mouse moved over the form's own surface, not over one of its controls.
    virtual void mouse_moved(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}
    // One of the form's enabled controls was clicked.
    virtual void clicked(Control& /*control*/) {}
    // The user asked the window to close (its close button, or the desktop).
    virtual void close_requested() {}

protected:
    // Adds a control in front of those added before it.
    Control& add_control(std::string name, const ControlDesign& design);

private:
    std::string name_;
    FormLook look_;
    std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace toolkit
