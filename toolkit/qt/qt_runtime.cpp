#include "toolkit/qt/qt_runtime.h"

#include "toolkit/form.h"
#include "toolkit/qt/box_loop.h"
#include "toolkit/qt/embedded_frame.h"
#include "toolkit/qt/fit_to_screen.h"
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
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QPointer>
#include <QWindow>

namespace toolkit::qt {

QtRuntime::QtRuntime(Pumping pumping, bool inside_owner) : pumping_(pumping), inside_owner_(inside_owner) {
    watch_key_repeats();
}

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

namespace {

// The designer recorded where the inside of the window stands on the screen;
// it stands there where its frame is then on screen.
void place_as_designed(FormWindow& window, const FormLook& look) {
    place_on_screen(window, QPoint(to_pixels(look.designed_left_twips / kTwipsPerPoint),
                                   to_pixels(look.designed_top_twips / kTwipsPerPoint)));
}

// Places the inside of the window, not its frame, on the owner's centre.
void centre_over(FormWindow& window, const FormWindow& owner) {
    place_on_screen(window, owner.geometry().center() - QPoint(window.width() / 2, window.height() / 2));
}

}  // namespace

void QtRuntime::attach_form(Form& form) {
    const bool startup = !startup_form_;
    // The start-up form, the court, is the largest window: every window and
    // box is drawn at the scale that lets it fit the screen. Its frame is not
    // known before it is on screen, so it is fitted as if it had none, and
    // again once the frame is known.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); startup && screen) {
        set_screen_scale(fitting_scale(form.look(), QMargins(), *screen));
    }
    auto* window = new FormWindow(form, *this);
    place_as_designed(*window, form.look());
    windows_[&form] = window;
    if (!startup) return;
    startup_form_ = &form;
    when_frame_known(*window, [this] { fit_to_frame(); });
}

void QtRuntime::fit_to_frame() {
    FormWindow* court = startup_form_ ? window_of(*startup_form_) : nullptr;
    if (!court || !court->screen()) return;
    const double scale = fitting_scale(startup_form_->look(), frame_of(*court), *court->screen());
    const bool rescaled = scale != screen_scale();
    if (rescaled) {
        set_screen_scale(scale);
        for (auto& [form, window] : windows_) window->lay_out_at_screen_scale();
    }
    // Where the court stands with its frame on the screen, nothing moves.
    if (!rescaled && court->screen()->availableGeometry().contains(court->geometry().marginsAdded(frame_of(*court)))) return;
    place_as_designed(*court, startup_form_->look());
    for (auto& [form, window] : windows_) {
        // One shown inside the court is centred there by its frame.
        if (window != court && window->isVisible() && !EmbeddedFrame::of(*window)) centre_over(*window, *court);
    }
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
    if (FormWindow* owner_window = over ? window_of(*over) : nullptr) {
        if (inside_owner_) {
            // Centred in the owner's client area each time it is shown.
            if (!EmbeddedFrame::of(*window)) new EmbeddedFrame(*window, *owner_window);
        } else {
            window->stay_above(*owner_window);
            centre_over(*window, *owner_window);
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
    // The box's frame is expected to be the court's, as one window manager draws both.
    if (FormWindow* court = startup_form_ ? window_of(*startup_form_) : nullptr) {
        keep_box_on_screen(dialog, frame_of(*court));
    }
    run_box(dialog);
    return dialog.answer().toStdString();
}

void QtRuntime::run_box(QDialog& box) {
    std::vector<QWidget*> form_windows;
    for (const auto& [form, window] : windows_) form_windows.push_back(window);
    // A box belongs to the program's first window: where the platform places
    // windows itself (Wayland), it then stands over the court, and where a
    // separate window would not stay there, it is shown inside the court.
    // The court goes with its frame if it is unloaded while the box is open.
    QPointer<EmbeddedFrame> frame;
    if (FormWindow* owner = startup_form_ ? window_of(*startup_form_) : nullptr) {
        if (inside_owner_) {
            frame = new EmbeddedFrame(box, *owner);
        } else {
            set_transient_parent(box, *owner);
        }
    }
    // The box loop keeps the player's input to the form windows away itself.
    box.setWindowModality(Qt::NonModal);
    open_boxes_.push_back(&box);
    BoxLoop(box, form_windows).run();
    open_boxes_.pop_back();
    delete frame;
}

void QtRuntime::pump_events() {
    if (pumping_ == Pumping::plain) {
        deliver_events();
        return;
    }
    pump_paced(pacer_, [this](Pacer::Step step) { take_step(step); });
}

void QtRuntime::finish_frame() {
    if (pumping_ == Pumping::paced) finish_frame_paced(pacer_, [this](Pacer::Step step) { take_step(step); });
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
    box.setFont(at_screen_scale(box.font()));
    run_box(box);
}

void QtRuntime::program_ending() {
    // Every event loop, the main one and any modal box's, returns; running
    // rally loops unwind through their pumps on the way out.
    QCoreApplication::exit(0);
}

}  // namespace toolkit::qt
