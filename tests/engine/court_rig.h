#pragma once

// A court on the scripted backend, with helpers to script its random draws and
// to read back what it wrote.
#include "engine/court.h"
#include "engine/court_rules.h"
#include "forms/court_layout.h"
#include "toolkit/control.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace court_test {

using Property = toolkit::ControlObserver::Property;

// Draws that make Int(2 * r + 1) give 1 (direction -1) or 2 (direction +1).
constexpr float kLeftOrUp = 0.0f;
constexpr float kRightOrDown = 0.75f;
// A draw that makes Int(r * 5 + 1) + 1 give the vertical speed `s` (2 to 6).
constexpr float vertical_speed_draw(int s) { return (s - 2) / 5.0f + 0.1f; }
// A draw that makes Int(r * 3 + 1) give the horizontal speed `s` (1 to 3).
constexpr float horizontal_speed_draw(int s) { return (s - 1) / 3.0f + 0.1f; }
// A draw that makes Int(r * 6) give k, which places the opponent: k = 2 one
// step left of the ball, k = 1 one step right, anything else on it.
constexpr float opponent_draw(int k) { return k / 6.0f + 0.05f; }
constexpr int kOpponentLeft = 2, kOpponentRight = 1;

// The designed court with a field `points` high.
inline engine::CourtDesign court_of_height(double points) {
    engine::CourtDesign d = forms::court_design();
    d.form.client_height_twips = static_cast<float>(points * engine::kTwipsPerFieldPoint);
    return d;
}
// 389 points high: a ball going up at 6 a turn from the middle (194.5) stands
// at y = 14.5 after turn 30, half a point above the wall line of a full bar.
inline engine::CourtDesign wall_court() { return court_of_height(389); }
constexpr int kWallTurn = 30;
// 313 points high with a ball 40 wide (42 with its margin): going down at 6 a
// turn from the middle (156.5), the ball's bottom is 5.5 past the field after
// turn 20, 0.5 short of it before.
inline engine::CourtDesign bottom_court() {
    engine::CourtDesign d = court_of_height(313);
    d.ball.geometry.width = d.ball.geometry.height = 40;
    return d;
}
constexpr int kBottomTurn = 20;

struct Rig {
    explicit Rig(const engine::CourtDesign& design = forms::court_design()) : court(rt, design) { rt.load(court); }

    // The field as the court computes it, in double precision.
    double W() const { return court.width_twips() / engine::kTwipsPerFieldPoint; }
    double H() const { return court.height_twips() / engine::kTwipsPerFieldPoint; }

    // A reset, after which the records start empty.
    void reset() {
        court.start_settings();
        rt.clear_records();
    }
    // A reset with the given directions and the rally's draws scripted after
    // them, at one pump a turn, so that pump n falls in turn n.
    void start(float kx_draw, float ky_draw, std::vector<float> loop_draws = {}) {
        loop_draws.insert(loop_draws.begin(), {kx_draw, ky_draw});
        rt.script_draws(loop_draws);
        court.Delay_game = court.delay_ini = 1.0;
        reset();
    }
    void stop_at_pump(std::uint64_t pump) {
        rt.at_pump(pump, [this] { court.b_wall_Click(); });
    }
    // Runs the rally loop through the error boundary, as an event handler would.
    void play() {
        rt.dispatch([this] { court.move_ball(); });
    }

    std::vector<float> written(const std::string& control, Property property) const {
        std::vector<float> values;
        for (const auto& w : rt.writes())
            if (w.control == control && w.property == property) values.push_back(w.value);
        return values;
    }
    std::vector<std::string> captions(const std::string& control) const {
        std::vector<std::string> texts;
        for (const auto& w : rt.writes())
            if (w.control == control && w.property == Property::caption) texts.push_back(w.caption);
        return texts;
    }
    // Expects the ball's `property` (left or top) from turn `first` on to be
    // `origin` plus the given offsets.
    void expect_ball_from(Property property, int first, double origin, const std::vector<double>& offsets) const {
        const auto values = written("I_ball", property);
        for (std::size_t i = 0; i < offsets.size(); ++i)
            EXPECT_NEAR(values.at(first - 1 + i), origin + offsets[i], 1e-4) << "turn " << first + i;
    }
    std::vector<std::string> messages() const { return rt.calls_starting_with("input_box "); }
    std::vector<std::string> errors() const { return rt.calls_starting_with("error "); }

    toolkit::ScriptedRuntime rt;
    engine::Court court;
};

inline const std::string kWinLine = "input_box Yes|Yes|3610.8|3610.8|ПОЗДРАВЛЯЮ, ТЫ ВЫИГРАЛ!";
inline const std::string kLossLine = "input_box Yes|Yes|3610.8|3610.8|ИЗВИНИ, НО ТЫ ПРОИГРАЛ...";

}  // namespace court_test
