#pragma once

#include "toolkit/pacer.h"
#include "toolkit/qt/deadline_timer.h"
#include "toolkit/qt/owned_windows.h"
#include "toolkit/random_generator.h"
#include "toolkit/runtime.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

class QDialog;
class QWidget;

namespace toolkit::qt {

class FormWindow;

// The real runtime: every form a top-level window, every control a widget,
// the input box a modal dialog, and paced event pumping. Needs a QApplication,
// made before the runtime.
class QtRuntime : public Runtime {
public:
    enum class Pumping {
        paced,  // the game runs at the same speed on every machine, mostly idle
        plain,  // every pump processes the event queue: as fast as the machine goes
    };

    // With `inside_owner`, a window that belongs to another is shown inside
    // it (owned_windows.h); by default as the platform needs.
    explicit QtRuntime(Pumping pumping = Pumping::paced, bool inside_owner = owned_windows_inside_owner());
    ~QtRuntime() override;

    // Runs the event loop until the program ends; returns its exit status.
    int run();

    // The window that shows a form, or null once it is unloaded.
    FormWindow* window_of(const Form& form) const;
    // The box the player answers now (the innermost one), or null.
    QDialog* open_box() const { return open_boxes_.empty() ? nullptr : open_boxes_.back(); }

    float rnd() override { return random_.next(); }
    void randomize(float seed) override { random_.reseed(seed); }
    float timer() override;

private:
    void attach_form(Form& form) override;
    void detach_form(Form& form) override;
    void show_form(Form& form, const Form* over) override;
    void hide_form(Form& form) override;
    std::string ask(const InputBoxRequest& request) override;
    void pump_events() override;
    void finish_frame() override;
    void report_unhandled(const std::string& message) override;
    void program_ending() override;

    // Fits the court, and the windows over it, to the screen with its frame.
    void fit_to_frame();
    void deliver_events();
    void take_step(Pacer::Step step);
    void deliver_until(Pacer::Clock::time_point deadline);
    void run_box(QDialog& box);

    Pumping pumping_;
    Pacer pacer_;
    DeadlineTimer wake_up_;
    RandomGenerator random_;
    const bool inside_owner_;
    std::map<const Form*, FormWindow*> windows_;
    std::set<const Form*> shown_once_;
    const Form* startup_form_ = nullptr;
    std::vector<QDialog*> open_boxes_;
};

}  // namespace toolkit::qt
