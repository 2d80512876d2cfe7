#pragma once

#include "toolkit/control.h"
#include "toolkit/random_generator.h"
#include "toolkit/runtime.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace toolkit {

// A runtime without windows, for tests. Random draws, the clock, input box
// answers and the events that arrive during each pump are scripted; every call
// and every property write is recorded.
class ScriptedRuntime : public Runtime, private ControlObserver {
public:
    struct PropertyWrite {
        std::string control;
        Property property;
        float value;          // for positions and sizes
        std::string caption;  // for captions
    };

    // Draws returned by rnd() before it falls back to its own generator.
    void script_draws(std::vector<float> draws);
    // Answers of the input box, in order. With none left, the box ends the program.
    void script_answers(std::vector<std::string> answers);
    void set_timer(float seconds) { timer_ = seconds; }

    // Runs `event` through the error boundary during pump number `pump` (counted from 1).
    void at_pump(std::uint64_t pump, std::function<void()> event);
    // Runs `hook` during every pump, before any event scheduled for it.
    void on_every_pump(std::function<void()> hook) { every_pump_ = std::move(hook); }

    // Raise events as a backend would, through the error boundary.
    void click(Form& form, Control& control);
    void move_mouse(Form& form, float x, float y);

    std::uint64_t pumps() const { return pumps_; }
    // The number of pumps so far at each end of a frame.
    const std::vector<std::uint64_t>& frame_ends() const { return frame_ends_; }
    std::size_t draws_taken() const { return draws_taken_; }
    // Calls other than pumps and property writes, as readable lines, e.g.
    // "show frm_hello", "input_box Yes|Yes|3610.8|3610.8|ПОЗДРАВЛЯЮ, ТЫ ВЫИГРАЛ!".
    const std::vector<std::string>& calls() const { return calls_; }
    const std::vector<PropertyWrite>& writes() const { return writes_; }
    std::vector<std::string> calls_starting_with(const std::string& prefix) const;
    void clear_records();
    // Long runs switch recording off to keep memory flat.
    void set_recording(bool on) { recording_ = on; }

    float rnd() override;
    void randomize(float seed) override;
    float timer() override { return timer_; }

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
    void property_changed(const Control& control, Property property) override;

    void record(std::string line);

    std::deque<float> draws_;
    std::deque<std::string> answers_;
    RandomGenerator fallback_;
    float timer_ = 0;
    std::uint64_t pumps_ = 0;
    std::vector<std::uint64_t> frame_ends_;
    std::size_t draws_taken_ = 0;
    std::multimap<std::uint64_t, std::function<void()>> events_;
    std::function<void()> every_pump_;
    std::vector<const Form*> shown_once_;
    std::vector<std::string> calls_;
    std::vector<PropertyWrite> writes_;
    bool recording_ = true;
};

}  // namespace toolkit
