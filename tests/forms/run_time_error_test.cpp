// A run-time error in a game abandons the game flow where it stands: it is
// reported, the welcome form stays hidden, and the program goes on.
#include "flow_rig.h"

#include <gtest/gtest.h>

namespace flow_test {
namespace {

// A racket caption that is no number fails at the player's next point; a wall
// bar taller than the field makes that point come in the first turn.
void break_the_score(Flow& f) {
    f.court().b_racket.set_caption("abc");
    f.court().b_wall.set_height(1000);
}

TEST(RunTimeError, in_a_prompted_game_is_reported_and_the_welcome_form_stays_hidden) {
    Flow f;
    f.rt.script_answers({"50"});
    f.rt.at_pump(1, [&] { break_the_score(f); });

    f.press_play();

    const std::vector<std::string> calls = f.flow_calls();
    ASSERT_EQ(calls.size(), 3u) << testing::PrintToString(calls);
    EXPECT_EQ(calls[0], kPromptBox);
    EXPECT_EQ(calls[1], kHideHello);
    EXPECT_EQ(calls[2].rfind("error ", 0), 0u) << calls[2];
    EXPECT_GT(calls[2].size(), std::string("error ").size()) << "the error carries no message";
    EXPECT_EQ(f.rt.pumps(), 16650u) << "the rally went on after the error";
    EXPECT_FALSE(f.rt.ending());
    // What the rally changed before the error stays.
    EXPECT_EQ(f.court().b_racket.caption(), "abc");
    EXPECT_EQ(f.court().b_wall.height(), 999.0f);
}

TEST(RunTimeError, leaves_the_program_running_for_the_next_click) {
    Flow f;
    f.rt.script_answers({"50", "10"});
    f.rt.at_pump(1, [&] { break_the_score(f); });
    f.press_play();
    ASSERT_EQ(f.errors().size(), 1u);
    f.rt.clear_records();

    // The court still takes a racket click, which plays on a fresh court...
    f.stop_rallies_at_once();
    f.click_racket();
    EXPECT_EQ(f.resets(), 1u);
    EXPECT_EQ(f.court().b_racket.caption(), "0");
    EXPECT_EQ(f.court().b_wall.height(), 15.0f);
    EXPECT_EQ(f.court().Delay_game.value(), 16640.0);

    // ...and the start button still runs a whole game.
    f.rt.clear_records();
    f.press_play();
    EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, kShowHello}));
    EXPECT_TRUE(f.errors().empty());

    f.press_exit();
    EXPECT_TRUE(f.rt.ending());
}

}  // namespace
}  // namespace flow_test
