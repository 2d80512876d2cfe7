#pragma once

// The whole program on the scripted backend: both forms, started as the
// program starts, with helpers to press the welcome form's buttons, to end
// rallies quickly and to read the flow back from the recorded calls.
#include "forms/program.h"
#include "toolkit/control.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace flow_test {

using Property = toolkit::ControlObserver::Property;

// The lines the scripted backend records for the boxes and forms of a game.
inline const std::string kPromptBox =
    "input_box Задержка анимации...|50|3610.8|3610.8|Больше задержка — меньше скорость — 10..100: ";
inline const std::string kWinBox = "input_box Yes|Yes|3610.8|3610.8|ПОЗДРАВЛЯЮ, ТЫ ВЫИГРАЛ!";
inline const std::string kLossBox = "input_box Yes|Yes|3610.8|3610.8|ИЗВИНИ, НО ТЫ ПРОИГРАЛ...";
inline const std::string kShowHello = "show frm_hello over frm_court";
inline const std::string kHideHello = "hide frm_hello";
inline const std::vector<std::string> kLeaving{"unload frm_court", "unload frm_hello", "ending"};

// The scripted backend, with a hook on every random draw: the reset draws the
// ball's directions before it writes anything, so a hook there sees what had
// happened before the reset began.
class FlowRuntime : public toolkit::ScriptedRuntime {
public:
    float rnd() override {
        if (on_draw) on_draw();
        return ScriptedRuntime::rnd();
    }
    std::function<void()> on_draw;
};

// The program after start-up: the court shown, the welcome form over it, and
// the records of start-up cleared.
class Flow {
public:
    Flow() {
        program.start();
        rt.clear_records();
    }

    forms::frm_court& court() { return program.court(); }
    forms::frm_hello& hello() { return program.hello(); }

    void press_play() { rt.click(hello(), hello().CommandButton1); }
    void press_exit() { rt.click(hello(), hello().CommandButton2); }
    void click_racket() { rt.click(court(), court().b_racket); }
    void close_court() { rt.dispatch([this] { court().close_requested(); }); }
    void close_hello() { rt.dispatch([this] { hello().close_requested(); }); }

    // Every pump clicks the wall bar, so a rally stops at the end of its first turn.
    void stop_rallies_at_once() {
        rt.on_every_pump([this] { rt.click(court(), court().b_wall); });
    }

    // The recorded calls without the rally's reseeding, which depends on its draws.
    std::vector<std::string> flow_calls() const {
        std::vector<std::string> out;
        for (const std::string& c : rt.calls())
            if (c != "randomize") out.push_back(c);
        return out;
    }

    std::vector<std::string> errors() const { return rt.calls_starting_with("error "); }

    std::size_t count_calls(const std::string& line) const {
        return static_cast<std::size_t>(std::count(rt.calls().begin(), rt.calls().end(), line));
    }

    // How many resets ran: each one puts the goal bar's top back to 394.
    std::size_t resets() const {
        return static_cast<std::size_t>(
            std::count_if(rt.writes().begin(), rt.writes().end(), [](const auto& w) {
                return w.control == "b_goal" && w.property == Property::top && w.value == 394.0f;
            }));
    }

    FlowRuntime rt;
    forms::Program program{rt};
};

}  // namespace flow_test
