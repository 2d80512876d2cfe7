#include "toolkit/win32/win32_runtime.h"

#include "toolkit/form.h"
#include "toolkit/texts.h"
#include "toolkit/win32/box_window.h"
#include "toolkit/win32/dpi.h"
#include "toolkit/win32/form_window.h"

#include <objbase.h>

namespace toolkit::win32 {
namespace {

// What a player does with the pointer or the keyboard in a window's client
// area. The frame's own buttons (close among them) are not input of this kind,
// and neither are the system keys (Alt+F4).
bool is_player_input(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_KEYDOWN || message == WM_KEYUP ||
           message == WM_CHAR || message == WM_DEADCHAR || message == WM_MOUSEHOVER || message == WM_MOUSELEAVE;
}

}  // namespace

Win32Runtime::Win32Runtime() : com_ready_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

// Forms still loaded here are already destroyed (they are made after the
// runtime): their windows go without touching them.
Win32Runtime::~Win32Runtime() {
    windows_.clear();
    retired_.clear();
    if (com_ready_) CoUninitialize();
}

int Win32Runtime::run() {
    while (!ending()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        deliver_events();
    }
    return 0;
}

FormWindow* Win32Runtime::window_of(const Form& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

HWND Win32Runtime::open_box_window() const { return open_boxes_.empty() ? nullptr : open_boxes_.back()->handle(); }

float Win32Runtime::timer() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return static_cast<float>(now.wHour * 3600 + now.wMinute * 60 + now.wSecond) +
           static_cast<float>(now.wMilliseconds) / 1000.0f;
}

void Win32Runtime::attach_form(Form& form) {
    const bool startup = !startup_form_;
    // The court is made at scale 1, measured on its monitor, and fitted.
    if (startup) set_screen_scale(1.0);
    auto& window = windows_[&form] = std::make_unique<FormWindow>(form, *this);
    if (!startup) return;
    startup_form_ = &form;
    if (fit_to_screen()) window->lay_out_at(window->designed_client_at());
}

bool Win32Runtime::fit_to_screen() {
    FormWindow* court = startup_form_ ? window_of(*startup_form_) : nullptr;
    if (!court) return false;
    const double scale = court->fitting_scale();
    if (scale == screen_scale()) return false;
    set_screen_scale(scale);
    for (const auto& [form, window] : windows_)
        if (window.get() != court) window->lay_out_at(window->client_at());
    return true;
}

void Win32Runtime::detach_form(Form& form) {
    const auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    it->second->detach();
    retired_.push_back(std::move(it->second));
    windows_.erase(it);
}

void Win32Runtime::show_form(Form& form, const Form* over) {
    FormWindow* window = window_of(form);
    if (!window) return;
    if (over) {
        if (FormWindow* owner = window_of(*over)) window->stay_above(*owner);
    }
    for (const auto& [other, other_window] : windows_)
        if (other_window.get() != window) other_window->let_go();
    window->show();
    // The form's activation is raised once, when it is first shown, from the message loop.
    if (shown_once_.insert(&form).second) window->post_activation();
}

void Win32Runtime::hide_form(Form& form) {
    if (FormWindow* window = window_of(form)) window->hide();
}

HWND Win32Runtime::box_owner() const {
    // The boxes belong to the program's first window, the court.
    const FormWindow* owner = startup_form_ ? window_of(*startup_form_) : nullptr;
    return owner ? owner->handle() : nullptr;
}

std::string Win32Runtime::ask(const InputBoxRequest& request) {
    return run_box({request.title, request.prompt, request.default_answer,
                    BoxContent::Twips{request.x_twips, request.y_twips}});
}

void Win32Runtime::report_unhandled(const std::string& message) {
    run_box({texts::kErrorBoxTitle, texts::kErrorBoxLead + message, std::nullopt, std::nullopt});
}

// The box loop: the box is modal to the player, whose input to the form
// windows is dropped here, but not to the desktop, whose requests to close
// those windows reach them; so the program can end from behind a box.
std::string Win32Runtime::run_box(const BoxContent& content) {
    BoxWindow box(content, box_owner());
    open_boxes_.push_back(&box);
    box.show();
    while (!box.closed() && !ending()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        deliver_events();
    }
    open_boxes_.pop_back();
    return box.answer();
}

void Win32Runtime::pump_events() {
    pump_paced(pacer_, [this](Pacer::Step step) { take_step(step, Finish::early); });
}

void Win32Runtime::finish_frame() {
    finish_frame_paced(pacer_, [this](Pacer::Step step) { take_step(step, Finish::on_time); });
}

void Win32Runtime::take_step(Pacer::Step step, Finish finish) {
    switch (step.kind) {
    case Pacer::Step::Kind::nothing: return;
    case Pacer::Step::Kind::deliver: deliver_events(); return;
    case Pacer::Step::Kind::wait: deliver_until(step.until, finish); return;
    }
}

// Sleeps in the message loop, so that window messages are handled the moment
// they arrive, until the timer's wake-up before the deadline or until the
// program is ending; then, at a frame's end, finishes by the clock. Each look
// at the message queue costs a round trip to the Wine server (50 µs measured),
// too dear to spin on.
void Win32Runtime::deliver_until(Pacer::Clock::time_point deadline, Finish finish) {
    const auto woken = deadline - DeadlineTimer::kEarly;
    while (!ending() && Pacer::Clock::now() < woken) {
        wake_up_.wait(deadline);
        deliver_events();
    }
    if (finish == Finish::on_time && !ending()) DeadlineTimer::finish(deadline);
}

void Win32Runtime::deliver_events() {
    MSG message;
    while (!ending() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) deliver(message);
}

void Win32Runtime::deliver(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    FormWindow* form_window = nullptr;
    for (const auto& [form, window] : windows_)
        if (window->handle() == root) form_window = window.get();
    if (BoxWindow* box = open_box()) {
        if (form_window && is_player_input(message.message)) return;
        if (root == box->handle() && box->translate_key(message)) return;
    }
    if (form_window && form_window->translate_key(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32Runtime::program_ending() {
    // Nothing to stop: every loop of this backend, the main one, a box's and a
    // paced wait, looks at ending() after each message it delivers, and
    // running rally loops unwind through their pumps on the way out.
}

}  // namespace toolkit::win32
