#include "toolkit/scripted/scripted_runtime.h"

#include "toolkit/form.h"

#include <algorithm>
#include <sstream>

namespace toolkit {

void ScriptedRuntime::script_draws(std::vector<float> draws) { draws_.assign(draws.begin(), draws.end()); }

void ScriptedRuntime::script_answers(std::vector<std::string> answers) {
    answers_.assign(answers.begin(), answers.end());
}

void ScriptedRuntime::at_pump(std::uint64_t pump, std::function<void()> event) {
    events_.emplace(pump, std::move(event));
}

void ScriptedRuntime::click(Form& form, Control& control) {
    if (!control.look().enabled) return;  // a disabled control raises no click
    dispatch([&] { form.clicked(control); });
}

void ScriptedRuntime::move_mouse(Form& form, float x, float y) {
    dispatch([&] { form.mouse_moved(0, 0, x, y); });
}

std::vector<std::string> ScriptedRuntime::calls_starting_with(const std::string& prefix) const {
    std::vector<std::string> found;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(found),
                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    return found;
}

void ScriptedRuntime::clear_records() {
    calls_.clear();
    writes_.clear();
    frame_ends_.clear();
}

float ScriptedRuntime::rnd() {
    ++draws_taken_;
    if (draws_.empty()) return fallback_.next();
    const float v = draws_.front();
    draws_.pop_front();
    return v;
}

void ScriptedRuntime::randomize(float seed) {
    fallback_.reseed(seed);
    record("randomize");
}

void ScriptedRuntime::attach_form(Form& form) {
    for (const auto& c : form.controls()) c->set_observer(this);
    record("load " + form.name());
}

void ScriptedRuntime::detach_form(Form& form) {
    for (const auto& c : form.controls()) c->set_observer(nullptr);
    record("unload " + form.name());
}

void ScriptedRuntime::show_form(Form& form, const Form* over) {
    record("show " + form.name() + (over ? " over " + over->name() : std::string{}));
    // Activation is raised when a form is first shown.
    if (std::find(shown_once_.begin(), shown_once_.end(), &form) == shown_once_.end()) {
        shown_once_.push_back(&form);
        dispatch([&] { form.activated(); });
    }
}

void ScriptedRuntime::hide_form(Form& form) { record("hide " + form.name()); }

std::string ScriptedRuntime::ask(const InputBoxRequest& r) {
    std::ostringstream line;
    line << "input_box " << r.title << '|' << r.default_answer << '|' << r.x_twips << '|' << r.y_twips << '|'
         << r.prompt;
    record(line.str());
    if (answers_.empty()) {
        end_program();
        return {};
    }
    std::string answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void ScriptedRuntime::pump_events() {
    ++pumps_;
    if (every_pump_) dispatch(every_pump_);
    const auto [first, last] = events_.equal_range(pumps_);
    std::vector<std::function<void()>> due;
    for (auto it = first; it != last; ++it) due.push_back(std::move(it->second));
    events_.erase(first, last);
    for (const auto& event : due) dispatch(event);
}

void ScriptedRuntime::finish_frame() {
    if (recording_) frame_ends_.push_back(pumps_);
}

// Errors are recorded even with recording off: a soak must see every one.
void ScriptedRuntime::report_unhandled(const std::string& message) { calls_.push_back("error " + message); }

void ScriptedRuntime::program_ending() { record("ending"); }

void ScriptedRuntime::property_changed(const Control& control, Property property) {
    if (!recording_) return;
    writes_.push_back({control.name(), property,
                       property == Property::left     ? control.left()
                       : property == Property::top    ? control.top()
                       : property == Property::height ? control.height()
                                                      : 0.0f,
                       property == Property::caption ? control.caption() : std::string{}});
}

void ScriptedRuntime::record(std::string line) {
    if (recording_) calls_.push_back(std::move(line));
}

}  // namespace toolkit
