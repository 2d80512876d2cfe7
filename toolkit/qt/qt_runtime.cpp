#include "toolkit/qt/qt_runtime.h"

#include "toolkit/form.h"
#include "toolkit/qt/box_loop.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/input_dialog.h"
#include "toolkit/qt/key_repeats.h"
#include "toolkit/qt/qt_look.h"
#include "toolkit/texts.h"
#include "toolkit/units.h"

#include <QApplication>
#include <QDialog>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTime>
#include <QTimer>
#include <QWindow>

namespace toolkit::qt {

QtRuntime::QtRuntime(Pumping pumping) : pumping_(pumping) { watch_key_repeats(); }

// Forms still loaded here are already destroyed (they are made after the
// runtime): their windows go without touching them.
QtRuntime::~QtRuntime() {
    for (auto& [form, window] : windows_) delete window;
}

int QtRuntime::run() { return ending() ? 0 : QApplication::exec(); }

FormWindow* QtRuntime::window_of(const Form& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

float QtRuntime::timer() {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

void QtRuntime::attach_form(Form& form) {
    auto* window = new FormWindow(form, *this);
    const FormLook& look = form.look();
    // The designer recorded where the inside of the window stands on the screen.
    window->setGeometry(QRect(QPoint(to_pixels(look.designed_left_twips / kTwipsPerPoint),
                                     to_pixels(look.designed_top_twips / kTwipsPerPoint)),
                              window->size()));
    windows_[&form] = window;
    if (!startup_form_) startup_form_ = &form;
}

void QtRuntime::detach_form(Form& form) {
    FormWindow* window = window_of(form);
    if (!window) return;
    windows_.erase(&form);
    window->detach();
    window->hide();
    // The window may be in the middle of delivering the event that unloads it.
    window->deleteLater();
}

void QtRuntime::show_form(Form& form, const Form* over) {
    FormWindow* window = window_of(form);
    if (!window) return;
    if (over) {
        if (FormWindow* owner_window = window_of(*over)) {
            window->stay_above(*owner_window);
            const QRect area = owner_window->geometry();
            // Places the inside of the window, not its frame, on the owner's centre.
            window->setGeometry(QRect(area.center() - QPoint(window->width() / 2, window->height() / 2), window->size()));
        }
    }
    window->show();
    window->raise();
    // The player works with the form just shown: it takes the keyboard, on a
    // bare X server too, where no window manager hands it over.
    window->activateWindow();
    // The form's activation is raised once, when it is first shown, from the
    // event loop: no focus change is awaited, which a bare X server never sends.
    if (shown_once_.insert(&form).second) {
        QTimer::singleShot(0, window, [this, &form] { dispatch([&form] { form.activated(); }); });
    }
}

void QtRuntime::hide_form(Form& form) {
    if (FormWindow* window = window_of(form)) window->hide();
}

std::string QtRuntime::ask(const InputBoxRequest& request) {
    InputDialog dialog(request);
    run_box(dialog);
    return dialog.answer().toStdString();
}

void QtRuntime::run_box(QDialog& box) {
    std::vector<QWidget*> form_windows;
    for (const auto& [form, window] : windows_) form_windows.push_back(window);
    // A box belongs to the program's first window: where the platform places
    // windows itself (Wayland), it then stands over the court.
    if (FormWindow* owner = startup_form_ ? window_of(*startup_form_) : nullptr) set_transient_parent(box, *owner);
    // The box loop keeps the player's input to the form windows away itself.
    box.setWindowModality(Qt::NonModal);
    open_boxes_.push_back(&box);
    BoxLoop(box, form_windows).run();
    open_boxes_.pop_back();
}

void QtRuntime::pump_events() {
    if (pumping_ == Pumping::plain) {
        deliver_events();
        return;
    }
    if (pacer_.count_pump()) take_step(pacer_.at_check(Pacer::Clock::now()));
}

void QtRuntime::finish_frame() {
    if (pumping_ == Pumping::paced) take_step(pacer_.at_frame_end(Pacer::Clock::now()));
}

void QtRuntime::take_step(Pacer::Step step) {
    switch (step.kind) {
    case Pacer::Step::Kind::nothing: return;
    case Pacer::Step::Kind::deliver: deliver_events(); return;
    case Pacer::Step::Kind::wait: deliver_until(step.until); return;
    }
}

// Sleeps in the event dispatcher, so that window events are handled the
// moment they arrive, until the deadline or until the program is ending.
void QtRuntime::deliver_until(Pacer::Clock::time_point deadline) {
    while (!ending() && Pacer::Clock::now() < deadline) {
        // Armed again each time round: a handler inside may have waited for its own deadline.
        wake_up_.arm(deadline);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void QtRuntime::deliver_events() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtRuntime::report_unhandled(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, texts::kErrorBoxTitle, texts::kErrorBoxLead + to_qstring(message),
                    QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(texts::kOk);
    run_box(box);
}

void QtRuntime::program_ending() {
    // Every event loop, the main one and any modal box's, returns; running
    // rally loops unwind through their pumps on the way out.
    QCoreApplication::exit(0);
}

}  // namespace toolkit::qt
