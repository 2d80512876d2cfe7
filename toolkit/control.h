#pragma once

#include "toolkit/look.h"

#include <string>

namespace toolkit {

class Control;

// Told of every property change, so a backend can mirror it into its widget.
class ControlObserver {
public:
    enum class Property { left, top, height, caption };
    virtual void property_changed(const Control& control, Property property) = 0;

protected:
    ~ControlObserver() = default;
};

struct ControlGeometry {
    float left = 0, top = 0, width = 0, height = 0;  // points
};

// A control as the form designer left it.
struct ControlDesign {
    ControlKind kind = ControlKind::command_button;
    ControlGeometry geometry;
    std::string caption;
    ControlLook look;
};

// A control on a form. It holds its own property values, so a read returns
// exactly the value last written, whatever pixel rounding the backend does.
class Control {
public:
    Control(std::string name, const ControlDesign& design);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    const ControlLook& look() const { return look_; }

    float left() const { return geometry_.left; }
    float top() const { return geometry_.top; }
    float width() const { return geometry_.width; }
    float height() const { return geometry_.height; }
    const std::string& caption() const { return caption_; }

    void set_left(float v);
    void set_top(float v);
    // Keeps the top: the control grows or shrinks at its bottom edge.
    void set_height(float v);
    void set_caption(std::string v);

    void set_observer(ControlObserver* observer) { observer_ = observer; }

private:
    void changed(ControlObserver::Property p);

    std::string name_;
    ControlKind kind_;
    ControlGeometry geometry_;
    std::string caption_;
    ControlLook look_;
    ControlObserver* observer_ = nullptr;
};

}  // namespace toolkit
