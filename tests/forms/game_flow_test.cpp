// The game flow on the scripted backend, as exact traces of what the forms
// ask of the toolkit: start-up, the delay prompt, one game from the welcome
// form to its end, a run-time error in a game, and leaving the program, from
// the welcome form or from inside running rallies, nested or not.
#include "engine/court_rules.h"
#include "forms/program.h"
#include "tests/forms/delay_answers.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include <gtest/gtest.h>

namespace {

// The lines the scripted backend records for the boxes and forms of a game.
using delay_answers::kPromptBox;
const std::string kShowHello = "show frm_hello over frm_court";
const std::string kHideHello = "hide frm_hello";
const std::vector<std::string> kOneGame{kPromptBox, kHideHello, kShowHello};
const std::vector<std::string> kLeaving{"unload frm_court", "unload frm_hello", "ending"};

// With a hook on every random draw: the reset draws before it writes anything,
// so a hook there sees what had happened before the reset began.
struct FlowRuntime : toolkit::ScriptedRuntime {
    float rnd() override {
        if (on_draw) on_draw();
        return ScriptedRuntime::rnd();
    }
    std::function<void()> on_draw;
};

struct Flow {
    Flow() {
        program.start();
        rt.clear_records();
    }

    forms::frm_court& court() { return program.court(); }
    void press_play() { rt.click(program.hello(), program.hello().CommandButton1); }
    void press_exit() { rt.click(program.hello(), program.hello().CommandButton2); }
    void click_racket() { rt.click(court(), court().b_racket); }
    // Every pump clicks the wall bar, so a rally stops at the end of its first turn.
    void stop_rallies_at_once() { rt.on_every_pump([this] { rt.click(court(), court().b_wall); }); }

    // The recorded calls without the rally's reseeding, which depends on its draws.
    std::vector<std::string> flow_calls() const {
        std::vector<std::string> out;
        std::copy_if(rt.calls().begin(), rt.calls().end(), std::back_inserter(out),
                     [](const std::string& c) { return c != "randomize"; });
        return out;
    }
    std::vector<std::string> errors() const { return rt.calls_starting_with("error "); }
    // How many resets ran: each one moves the goal bar's top back up to kGoalTopAfterReset.
    auto resets() const {
        return std::count_if(rt.writes().begin(), rt.writes().end(), [](const auto& w) {
            return w.control == "b_goal" && w.property == toolkit::ControlObserver::Property::top &&
                   w.value == engine::kGoalTopAfterReset;
        });
    }

    FlowRuntime rt;
    forms::Program program{rt};
};

TEST(StartUp, court_is_shown_first_and_its_activation_shows_the_welcome_form_over_it_and_nothing_more) {
    toolkit::ScriptedRuntime rt;
    forms::Program program(rt);
    program.start();

    // The welcome form is created on its first use, by the activation.
    EXPECT_EQ(rt.calls(), (std::vector<std::string>{"load frm_court", "show frm_court", "load frm_hello", kShowHello}));
    EXPECT_TRUE(rt.writes().empty()) << "the court keeps its designed layout until the first game";
    EXPECT_EQ(rt.pumps() + rt.draws_taken(), 0u);
    EXPECT_TRUE(program.court().Delay_game.is_empty() && program.court().delay_ini.is_empty());
}

// Every answer of the shared table, the hostile ones included.
TEST(DelayPrompt, takes_10_to_100_at_once_and_brings_the_same_box_back_with_no_message_for_anything_else) {
    for (const auto& [answer, accepted_delay] : delay_answers::kAnswers) {
        SCOPED_TRACE("answer \"" + delay_answers::printable(answer) + "\"");
        Flow f;
        f.rt.script_answers({answer, "20"});
        f.stop_rallies_at_once();
        f.press_play();

        // Refused: nothing between the two boxes, and the second takes "20".
        const double delay = accepted_delay != 0 ? accepted_delay : 6660.0;
        std::vector<std::string> expected = kOneGame;
        if (accepted_delay == 0) expected.insert(expected.begin(), kPromptBox);
        EXPECT_EQ(f.flow_calls(), expected);
        EXPECT_TRUE(f.court().Delay_game.holds_double() && f.court().delay_ini.holds_double());
        EXPECT_EQ(f.court().Delay_game.value(), delay);
        EXPECT_EQ(f.court().delay_ini.value(), delay);
        // The rally stops after one turn, which pumps once per whole step of the delay.
        EXPECT_EQ(f.rt.pumps(), static_cast<std::uint64_t>(std::floor(delay)));
        EXPECT_TRUE(f.errors().empty());
    }
}

// Neither the previous answer, a won game nor racket clicks (each takes 10 off
// the delay) carry over into the next game.
TEST(DelayPrompt, every_game_asks_again_offering_50_and_sets_the_delay_afresh) {
    Flow f;
    f.rt.script_answers({"10", "", "100"});  // the empty one answers the win message
    f.rt.at_pump(1, [&] { f.court().b_wall.set_height(1); });
    f.press_play();
    f.stop_rallies_at_once();
    f.click_racket();
    f.click_racket();
    ASSERT_EQ(f.court().Delay_game.value(), 3310.0);
    f.rt.clear_records();
    const std::uint64_t pumps_before = f.rt.pumps();

    f.press_play();

    EXPECT_EQ(f.flow_calls(), kOneGame);
    EXPECT_EQ(f.resets(), 1);
    EXPECT_EQ(f.court().Delay_game.value(), 33300.0);
    EXPECT_EQ(f.court().delay_ini.value(), 33300.0);
    EXPECT_EQ(f.rt.pumps() - pumps_before, 33300u) << "the game did not run a whole turn";
}

// A game won or lost in its first turn, as a bar wears down to a height of 1,
// shows its message (what is left in its box makes no difference), then resets
// the court and the score.
struct GameEnd {
    const char* name;
    void (*wear_down)(forms::frm_court&);
    const char* message;
};
const GameEnd kGameEnds[] = {
    {"won", [](forms::frm_court& c) { c.b_wall.set_height(1); }, "input_box Yes|Yes|3610.8|3610.8|ПОЗДРАВЛЯЮ, ТЫ ВЫИГРАЛ!"},
    {"lost", [](forms::frm_court& c) { c.b_goal.set_height(1); }, "input_box Yes|Yes|3610.8|3610.8|ИЗВИНИ, НО ТЫ ПРОИГРАЛ..."},
};

TEST(GameFlow, welcome_form_is_hidden_before_the_reset_and_back_only_after_the_rally_and_its_end_message) {
    for (const GameEnd& end : kGameEnds) {
        SCOPED_TRACE(end.name);
        Flow f;
        f.rt.script_answers({"50", "whatever"});
        bool drawn = false;
        std::vector<std::string> calls_at_first_draw;
        std::size_t writes_at_first_draw = 99;
        long resets_at_first_pump = 0, shows_while_pumping = 0;
        f.rt.on_draw = [&] {
            if (std::exchange(drawn, true)) return;
            calls_at_first_draw = f.flow_calls();
            writes_at_first_draw = f.rt.writes().size();
        };
        f.rt.on_every_pump([&] {
            shows_while_pumping += std::count(f.rt.calls().begin(), f.rt.calls().end(), kShowHello);
            if (f.rt.pumps() > 1) return;
            resets_at_first_pump = f.resets();
            f.court().b_racket.set_caption(" 9");
            f.court().b_rack_opp.set_caption(" 9");
            end.wear_down(f.court());
        });

        f.press_play();

        // The reset's first act is a draw: by then the welcome form is hidden
        // and nothing on the court has been written.
        EXPECT_EQ(calls_at_first_draw, (std::vector<std::string>{kPromptBox, kHideHello}));
        EXPECT_EQ(writes_at_first_draw, 0u);
        EXPECT_EQ(resets_at_first_pump, 1) << "the rally began before the reset";
        EXPECT_EQ(shows_while_pumping, 0) << "the welcome form came back while the rally was running";
        EXPECT_EQ(f.rt.pumps(), 16650u) << "the game did not end in its first turn";
        EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, end.message, kShowHello}));
        EXPECT_EQ(f.court().b_racket.caption(), "0");
        EXPECT_EQ(f.court().b_rack_opp.caption(), "0");
        EXPECT_EQ(f.court().b_wall.height(), 15.0f);
        EXPECT_EQ(f.court().b_goal.height(), 15.0f);
        EXPECT_TRUE(f.errors().empty());
    }
}

TEST(GameFlow, racket_click_at_the_welcome_form_plays_without_prompt_and_leaves_the_welcome_form_shown) {
    Flow f;
    f.court().Delay_game = 110.0;
    f.stop_rallies_at_once();
    f.click_racket();

    EXPECT_TRUE(f.flow_calls().empty()) << "no prompt, no hiding, no showing";
    EXPECT_EQ(f.resets(), 1);
    EXPECT_EQ(f.rt.pumps(), 100u);
}

TEST(RunTimeError, in_a_prompted_game_is_reported_leaves_the_welcome_form_hidden_and_the_program_running) {
    Flow f;
    f.rt.script_answers({"50", "10"});
    // A racket caption that is no number fails at the player's next point; a
    // wall bar taller than the field makes that point come in the first turn.
    f.rt.at_pump(1, [&] {
        f.court().b_racket.set_caption("abc");
        f.court().b_wall.set_height(1000);
    });
    f.press_play();

    const std::vector<std::string> errors = f.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_GT(errors[0].size(), std::string("error ").size()) << "the error carries no message";
    EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, errors[0]}));
    EXPECT_EQ(f.rt.pumps(), 16650u) << "the rally went on after the error";
    EXPECT_EQ(f.court().b_racket.caption(), "abc") << "what the rally changed before the error stays";

    // The start button still runs a whole game, and the exit button leaves.
    f.rt.clear_records();
    f.stop_rallies_at_once();
    f.press_play();
    EXPECT_EQ(f.flow_calls(), kOneGame);
    f.rt.clear_records();
    f.press_exit();
    EXPECT_EQ(f.rt.calls(), kLeaving);
}

// Leaving: the exit button and the close buttons of both windows unload the
// court, then the welcome form, and the program ends. Rallies that are running
// then all unwind without a message.
struct Exit {
    const char* name;
    void (*leave)(Flow&);
};
const Exit kExits[] = {
    {"exit_button", [](Flow& f) { f.press_exit(); }},
    {"court_window_closed", [](Flow& f) { f.rt.dispatch([&f] { f.court().close_requested(); }); }},
    {"welcome_window_closed", [](Flow& f) { f.rt.dispatch([&f] { f.program.hello().close_requested(); }); }},
};

// What runs when the player leaves, and the pump during which they do.
struct Running {
    const char* name;
    std::uint64_t exit_pump;
    long rallies;   // how many rally loops are running by then
    bool prompted;  // the game began with the prompt and hid the welcome form
    void (*start)(Flow&, std::function<void()> leave);
};
const Running kRunning[] = {
    {"welcome_form", 0, 0, false, [](Flow&, std::function<void()> leave) { leave(); }},
    {"prompted_game", 5000, 1, true, [](Flow& f, std::function<void()> leave) {
         f.rt.script_answers({"10"});  // 3330 pumps a turn
         f.rt.at_pump(5000, leave);
         f.press_play();
     }},
    {"racket_games_nested_three_deep", 400, 4, false, [](Flow& f, std::function<void()> leave) {
         f.court().Delay_game = 110.0;
         for (std::uint64_t pump : {130u, 230u, 330u}) f.rt.at_pump(pump, [&f] { f.click_racket(); });
         f.rt.at_pump(400, leave);
         f.click_racket();
     }},
};

void PrintTo(const Exit& exit, std::ostream* out) { *out << exit.name; }
void PrintTo(const Running& running, std::ostream* out) { *out << running.name; }

class Leaving : public testing::TestWithParam<std::tuple<Exit, Running>> {};

TEST_P(Leaving, unloads_the_court_then_the_welcome_form_and_ends_with_every_rally_unwound_silently) {
    const auto& [exit, running] = GetParam();
    Flow f;
    running.start(f, [&f, leave = exit.leave] { leave(f); });

    EXPECT_TRUE(f.rt.ending());
    EXPECT_EQ(f.rt.pumps(), running.exit_pump) << "the rallies went on after the player left";
    EXPECT_EQ(f.resets(), running.rallies);
    std::vector<std::string> expected = kLeaving;
    if (running.prompted) expected.insert(expected.begin(), {kPromptBox, kHideHello});
    EXPECT_EQ(f.flow_calls(), expected) << "no end message, no error and no welcome form on the way out";
}

INSTANTIATE_TEST_SUITE_P(Flow, Leaving, testing::Combine(testing::ValuesIn(kExits), testing::ValuesIn(kRunning)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_from_" + std::get<1>(info.param).name;
                         });

}  // namespace
