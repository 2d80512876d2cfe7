#include "toolkit/runtime.h"

#include "toolkit/errors.h"
#include "toolkit/form.h"
#include "toolkit/texts.h"

#include <cstdint>

namespace toolkit {

void Runtime::load(Form& form) {
    attach_form(form);
    ++loaded_forms_;
}

void Runtime::show(Form& form, const Form* over) { show_form(form, over); }

void Runtime::hide(Form& form) { hide_form(form); }

void Runtime::unload(Form& form) {
    detach_form(form);
    if (--loaded_forms_ == 0) end_program();
}

std::string Runtime::input_box(const InputBoxRequest& request) {
    throw_if_ending();
    std::string answer = ask(request);
    // The box may have been closed by the program ending while it was open.
    throw_if_ending();
    return answer;
}

void Runtime::pump_now() {
    throw_if_ending();
    pump_events();
    throw_if_ending();
}

void Runtime::end_frame() {
    throw_if_ending();
    finish_frame();
    throw_if_ending();
}

void Runtime::dispatch(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const ProgramEnding&) {
        // The enclosing pump sees the mark and throws again, level by level.
    } catch (const std::exception& error) {  // a RunTimeError, or a failure of the library
        report_unhandled(error.what());
    } catch (...) {
        report_unhandled(texts::kUnknownError);
    }
}

void Runtime::check_room_to_nest() const {
    if (!stack_.has_room(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0))))
        throw RunTimeError(texts::kOutOfStackSpace);
}

void Runtime::end_program() {
    if (ending_) return;
    ending_ = true;
    program_ending();
}

void Runtime::throw_if_ending() const {
    if (ending_) throw ProgramEnding{};
}

}  // namespace toolkit
