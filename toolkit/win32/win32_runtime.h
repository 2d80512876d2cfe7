#pragma once

#include "toolkit/pacer.h"
#include "toolkit/random_generator.h"
#include "toolkit/runtime.h"
#include "toolkit/win32/deadline_timer.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

#include <windows.h>

namespace toolkit::win32 {

class BoxWindow;
struct BoxContent;
class FormWindow;

// The runtime on the plain Win32 API: every form a top-level window, every
// control a child window, the boxes windows of our own run by a box loop,
// and event pumping with PeekMessage paced by the toolkit's Pacer. Makes COM
// ready on its thread for the pictures' decoding.
class Win32Runtime : public Runtime {
public:
    Win32Runtime();
    ~Win32Runtime() override;

    // Runs the message loop until the program ends; returns its exit status.
    int run();

    // The window that shows a form, or null once it is unloaded.
    FormWindow* window_of(const Form& form) const;
    // The box the player answers now (the innermost one), or null.
    BoxWindow* open_box() const { return open_boxes_.empty() ? nullptr : open_boxes_.back(); }
    HWND open_box_window() const;

    // Sets the screen scale at which the court fits its monitor's work area
    // (the court is the largest window: every window and box is drawn at
    // it) and lays out the other windows afresh at it, where they stand; the
    // court's own place is its caller's to give. True if the scale changed.
    bool fit_to_screen();

    // The timer the pumps' waits sleep on, with its counts.
    const DeadlineTimer& deadline_timer() const { return wake_up_; }

    // Delivers every message waiting, as a pump does when the pacer says so.
    void deliver_events();

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

    void deliver(MSG& message);
    // How a wait for a deadline ends: at the frame's end on the deadline
    // itself, so the next frame starts on time; inside a frame a little
    // early (DeadlineTimer::kEarly), which only lets the pumps run on.
    enum class Finish { early, on_time };
    void take_step(Pacer::Step step, Finish finish);
    void deliver_until(Pacer::Clock::time_point deadline, Finish finish);
    std::string run_box(const BoxContent& content);
    HWND box_owner() const;

    Pacer pacer_;
    DeadlineTimer wake_up_;
    RandomGenerator random_;
    bool com_ready_;
    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
    // Windows of unloaded forms, hidden: they go with the runtime, never while
    // one of them may still be delivering the message that unloaded it.
    std::vector<std::unique_ptr<FormWindow>> retired_;
    std::set<const Form*> shown_once_;
    const Form* startup_form_ = nullptr;
    std::vector<BoxWindow*> open_boxes_;
};

}  // namespace toolkit::win32
