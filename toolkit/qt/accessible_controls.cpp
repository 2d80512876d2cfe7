#include "toolkit/qt/accessible_controls.h"

#include "toolkit/control.h"
#include "toolkit/qt/caption_announcer.h"
#include "toolkit/qt/control_widgets.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/qt_look.h"

#include <QAccessibleWidget>

namespace toolkit::qt {
namespace {

// A painted control. The name is read from the control each time it is asked
// for, so it is never stale; the form window announces every caption change.
class AccessibleControl : public QAccessibleWidget {
public:
    AccessibleControl(QWidget* widget, const Control& control, QAccessible::Role role)
        : QAccessibleWidget(widget, role), control_(control) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: return caption_text(control_.caption());
        case QAccessible::Description: return to_qstring(control_.look().description);
        default: return QAccessibleWidget::text(t);
        }
    }

private:
    const Control& control_;
};

// A command button, which can also be pressed through its accessible action.
class AccessibleButton : public AccessibleControl {
public:
    explicit AccessibleButton(ButtonWidget* button)
        : AccessibleControl(button, button->control(), QAccessible::Button), button_(button) {}

    QAccessible::State state() const override {
        QAccessible::State s = AccessibleControl::state();
        s.pressed = button_->isDown();
        // A disabled button never takes the focus, whatever its focus policy.
        if (s.disabled) s.focusable = false;
        return s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (button_->isEnabled()) names << pressAction();
        return names << AccessibleControl::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction()) {
            AccessibleControl::doAction(action);
            return;
        }
        // The click comes from the event loop a moment later, as a key press
        // would bring it, so the assistive tool's call returns first: the click
        // may open a modal box or run a whole game.
        if (button_->isEnabled()) button_->animateClick();
    }

private:
    ButtonWidget* button_;
};

// The latest caption change, as a notification a screen reader speaks. It
// has a parent, its window, but no place among the window's children.
class AccessibleAnnouncement : public QAccessibleObject {
public:
    explicit AccessibleAnnouncement(CaptionAnnouncer* announcer) : QAccessibleObject(announcer), announcer_(announcer) {}

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&announcer_->window()); }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::Notification; }

    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: return announcer_->caption();
        case QAccessible::Description: return announcer_->description();
        default: return {};
        }
    }

private:
    CaptionAnnouncer* announcer_;
};

QAccessibleInterface* accessible_for(const QString& /*class_name*/, QObject* object) {
    if (auto* button = dynamic_cast<ButtonWidget*>(object)) return new AccessibleButton(button);
    if (auto* label = dynamic_cast<LabelWidget*>(object))
        return new AccessibleControl(label, label->control(), QAccessible::StaticText);
    if (auto* announcer = dynamic_cast<CaptionAnnouncer*>(object)) return new AccessibleAnnouncement(announcer);
    if (auto* image = dynamic_cast<ImageWidget*>(object))
        return new AccessibleControl(image, image->control(), QAccessible::Graphic);
    // A top-level window is named by its title.
    if (auto* window = dynamic_cast<FormWindow*>(object)) return new QAccessibleWidget(window, QAccessible::Window);
    return nullptr;
}

}  // namespace

void install_accessible_controls() { QAccessible::installFactory(accessible_for); }

}  // namespace toolkit::qt
