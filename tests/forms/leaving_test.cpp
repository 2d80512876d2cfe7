// Leaving the program: the exit button and the close buttons of both windows
// unload the court, then the welcome form, and the program ends. Rallies that
// are running at that moment, nested or not, all unwind without a message.
#include "flow_rig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <tuple>

namespace flow_test {
namespace {

struct Exit {
    const char* name;
    void (*leave)(Flow&);
};

void PrintTo(const Exit& exit, std::ostream* out) { *out << exit.name; }

const Exit kExits[] = {
    {"exit_button", [](Flow& f) { f.press_exit(); }},
    {"court_window_closed", [](Flow& f) { f.close_court(); }},
    {"welcome_window_closed", [](Flow& f) { f.close_hello(); }},
};

TEST(Leaving, from_the_welcome_form_unloads_the_court_then_the_welcome_form_and_ends) {
    for (const Exit& exit : kExits) {
        SCOPED_TRACE(exit.name);
        Flow f;
        exit.leave(f);
        EXPECT_EQ(f.rt.calls(), kLeaving);
        EXPECT_TRUE(f.rt.ending());
        EXPECT_TRUE(f.rt.writes().empty());
    }
}

TEST(Leaving, after_a_finished_game_ends_the_program_the_same_way) {
    Flow f;
    f.rt.script_answers({"10"});
    f.stop_rallies_at_once();
    f.press_play();
    f.rt.clear_records();

    f.press_exit();
    EXPECT_EQ(f.rt.calls(), kLeaving);
}

// What runs when the player leaves, and the pump during which they do.
struct Running {
    const char* name;
    std::uint64_t exit_pump;
    std::size_t rallies;  // how many rally loops are running by then
    void (*start)(Flow&, std::function<void()> leave);
};

const Running kRunning[] = {
    {"racket_game", 250, 1,
     [](Flow& f, std::function<void()> leave) {
         f.court().Delay_game = 110.0;  // 100 pumps a turn after the click
         f.rt.at_pump(250, leave);
         f.click_racket();
     }},
    {"prompted_game", 5000, 1,
     [](Flow& f, std::function<void()> leave) {
         f.rt.script_answers({"10"});  // 3330 pumps a turn
         f.rt.at_pump(5000, leave);
         f.press_play();
     }},
    {"racket_games_nested_three_deep", 400, 4,
     [](Flow& f, std::function<void()> leave) {
         f.court().Delay_game = 110.0;
         for (std::uint64_t pump : {130u, 230u, 330u}) f.rt.at_pump(pump, [&f] { f.click_racket(); });
         f.rt.at_pump(400, leave);
         f.click_racket();
     }},
};

void PrintTo(const Running& running, std::ostream* out) { *out << running.name; }

class LeavingDuringARally : public testing::TestWithParam<std::tuple<Exit, Running>> {};

TEST_P(LeavingDuringARally, every_rally_unwinds_with_no_message_no_error_and_no_welcome_form) {
    const auto& [exit, running] = GetParam();
    Flow f;
    running.start(f, [&f, leave = exit.leave] { leave(f); });

    EXPECT_TRUE(f.rt.ending());
    // No pump after the one that left: the rallies did not go on.
    EXPECT_EQ(f.rt.pumps(), running.exit_pump);
    EXPECT_EQ(f.resets(), running.rallies);
    ASSERT_GE(f.rt.calls().size(), 3u);
    const std::vector<std::string> tail(f.rt.calls().end() - 3, f.rt.calls().end());
    EXPECT_EQ(tail, kLeaving) << "something happened after the program ended";
    EXPECT_EQ(f.count_calls(kWinBox), 0u);
    EXPECT_EQ(f.count_calls(kLossBox), 0u);
    EXPECT_EQ(f.count_calls(kShowHello), 0u);
    EXPECT_TRUE(f.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Flow, LeavingDuringARally, testing::Combine(testing::ValuesIn(kExits), testing::ValuesIn(kRunning)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_during_" +
                                    std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace flow_test
