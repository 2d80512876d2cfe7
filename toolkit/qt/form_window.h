#pragma once

#include "toolkit/control.h"
#include "toolkit/qt/picture.h"

#include <QWidget>
#include <functional>
#include <map>
#include <vector>

namespace toolkit {
class Form;
class Runtime;
}  // namespace toolkit

namespace toolkit::qt {

class CaptionAnnouncer;

// The top-level window of a form: its designed client size, back colour and
// background picture, one widget per control in stacking order, and the
// form's events passed through the runtime's error boundary.
class FormWindow : public QWidget, private ControlObserver {
public:
    // The form must outlive the window, or be detached from it first.
    FormWindow(Form& form, Runtime& runtime);

    // Stops mirroring the form; its controls may outlive this window.
    void detach();
    QWidget* widget_of(const Control& control) const;
    // Passes a request to close the window on to its form.
    void request_close();
    // Keeps this window above the owner's, whatever is clicked, while the
    // owner stays usable. Done before the window is first shown, it changes
    // nothing on screen; later calls find it done.
    void stay_above(FormWindow& owner);
    // Sizes the window, its controls and their fonts by the current screen
    // scale; the controls' points stay as they are.
    void lay_out_at_screen_scale();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void property_changed(const Control& control, Property property) override;

    Form* form_;
    Runtime& runtime_;
    CentredPicture background_;
    std::map<const Control*, QWidget*> widgets_;
    std::vector<QWidget*> tab_order_;
    CaptionAnnouncer* announcer_;
};

// Makes `window` a transient of `owner`: the platform keeps it above the owner
// and, where it places windows itself, over it.
void set_transient_parent(QWidget& window, QWidget& owner);

}  // namespace toolkit::qt
