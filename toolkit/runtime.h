#pragma once

#include "toolkit/pacer.h"
#include "toolkit/stack_guard.h"

#include <cstdint>
#include <functional>
#include <string>

namespace toolkit {

class Form;
class RunTimeError;

struct InputBoxRequest {
    std::string prompt;
    std::string title;
    std::string default_answer;
    float x_twips = 0;  // position of the box from the screen's top-left corner
    float y_twips = 0;
};

// The forms runtime: form lifetime, the input box, random numbers and the
// clock, event pumping, and the error boundary at event dispatch. A backend
// (real windows, or a scripted one for tests) supplies the primitives.
class Runtime {
public:
    Runtime() = default;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;
    virtual ~Runtime() = default;

    // Gives a newly created form its backend window, unshown.
    void load(Form& form);
    // Shows a form; one shown `over` another stays above it, centred on it.
    void show(Form& form, const Form* over = nullptr);
    void hide(Form& form);
    // Takes the form's window away; when no form is left loaded, the program ends.
    void unload(Form& form);

    // A modal box; returns the text in its edit field, the empty text on Cancel.
    std::string input_box(const InputBoxRequest& request);
    // Processes pending window events; handlers run nested inside it.
    void pump() { pump_times(1); }
    // Pumps `times` times, exactly as that many pump() calls would. A rally
    // pumps tens of thousands of times a turn, so the pumps a pacing backend
    // has let pass go by here, inline, in one step each, without a call to
    // the backend.
    void pump_times(std::uint64_t times) {
        while (times != 0) {
            if (pumps_to_pass_ != 0 && !ending_) {
                const std::uint32_t passing =
                    times < pumps_to_pass_ ? static_cast<std::uint32_t>(times) : pumps_to_pass_;
                pumps_to_pass_ -= passing;
                times -= passing;
            } else {
                pump_now();
                --times;
            }
        }
    }
    // Ends the pumping of one frame of animation. A pacing backend holds the
    // caller here until the frame's time is up, processing window events as
    // they arrive, as a pump does; so the next frame starts on time. A frame
    // without pumps ends at once and processes nothing.
    void end_frame();

    virtual float rnd() = 0;
    virtual void randomize(float seed) = 0;
    // Seconds since midnight, with their fraction.
    virtual float timer() = 0;

    // Runs an event handler. This is the error boundary: a run-time error that
    // leaves the handler goes to the backend's unhandled-error handling, and
    // the ending of the program is swallowed here. Nothing crosses it.
    void dispatch(const std::function<void()>& handler) noexcept;

    // Marks the program as ending: from now on every pump and every input box
    // throws ProgramEnding, until all running handlers have unwound.
    void end_program();
    bool ending() const { return ending_; }

    // The stack the handlers run on, as far as it can grow; until it is
    // given, nesting is not limited.
    void set_stack_bounds(StackBounds bounds) { stack_ = StackGuard(bounds, StackGuard::kReserveBytes); }
    // Called by a handler before it nests a loop of events inside the one
    // running: raises a run-time error when the stack has no room for it.
    void check_room_to_nest() const;

protected:
    // The next `pumps` pumps return at once, without pump_events().
    void let_pumps_pass(std::uint32_t pumps) { pumps_to_pass_ = pumps_let_pass_ = pumps; }
    // How many of the pumps let pass have gone by; the rest no longer pass.
    std::uint32_t take_passed_pumps() {
        const std::uint32_t passed = pumps_let_pass_ - pumps_to_pass_;
        pumps_to_pass_ = pumps_let_pass_ = 0;
        return passed;
    }

    // A pacing backend's pump_events(): counts this pump and those let pass
    // since the last call, carries out what the pacer says at a clock
    // reading, then lets the pumps up to its next reading pass without a call.
    template <class TakeStep>
    void pump_paced(Pacer& pacer, TakeStep take_step) {
        if (pacer.count_pumps(take_passed_pumps() + 1)) carry_out(pacer, pacer.at_check(Pacer::Clock::now()), take_step);
        let_pumps_pass(pacer.pumps_to_check() - 1);
    }
    // A pacing backend's finish_frame(): the pumps let pass are counted first.
    template <class TakeStep>
    void finish_frame_paced(Pacer& pacer, TakeStep take_step) {
        pacer.count_pumps(take_passed_pumps());
        carry_out(pacer, pacer.at_frame_end(Pacer::Clock::now()), take_step);
    }

    virtual void attach_form(Form& form) = 0;
    virtual void detach_form(Form& form) = 0;
    virtual void show_form(Form& form, const Form* over) = 0;
    virtual void hide_form(Form& form) = 0;
    virtual std::string ask(const InputBoxRequest& request) = 0;
    virtual void pump_events() = 0;
    virtual void finish_frame() = 0;
    virtual void report_unhandled(const std::string& message) = 0;
    // Called once, when the program starts ending.
    virtual void program_ending() = 0;

private:
    // Takes a step, and tells the pacer when a delivery or a wait has ended.
    template <class TakeStep>
    static void carry_out(Pacer& pacer, Pacer::Step step, TakeStep& take_step) {
        if (step.kind == Pacer::Step::Kind::nothing) return;
        take_step(step);
        pacer.delivered(Pacer::Clock::now());
    }

    void pump_now();
    void throw_if_ending() const;

    int loaded_forms_ = 0;
    bool ending_ = false;
    std::uint32_t pumps_to_pass_ = 0;
    std::uint32_t pumps_let_pass_ = 0;
    StackGuard stack_;
};

}  // namespace toolkit
