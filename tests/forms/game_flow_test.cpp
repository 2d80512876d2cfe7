// One game from the welcome form: the welcome form goes away before the court
// is reset, the rally runs, and the welcome form comes back only when the
// rally has returned, after the end message of a won or lost game.
#include "flow_rig.h"

#include <gtest/gtest.h>

namespace flow_test {
namespace {

TEST(GameFlow, welcome_form_is_hidden_before_the_reset_and_shown_again_only_after_the_rally) {
    Flow f;
    f.rt.script_answers({"50"});

    std::vector<std::string> calls_at_first_draw;
    std::size_t writes_at_first_draw = 99;
    bool drawn = false;
    f.rt.on_draw = [&] {
        if (drawn) return;
        drawn = true;
        calls_at_first_draw = f.flow_calls();
        writes_at_first_draw = f.rt.writes().size();
    };
    std::vector<FlowRuntime::PropertyWrite> writes_at_first_pump;
    std::size_t shows_while_pumping = 0;
    f.rt.on_every_pump([&] {
        if (f.rt.pumps() == 1) writes_at_first_pump = f.rt.writes();
        shows_while_pumping += f.count_calls(kShowHello);
        f.rt.click(f.court(), f.court().b_wall);
    });

    f.press_play();

    // The reset's first act is a draw: by then the welcome form is hidden and
    // nothing on the court has been written.
    EXPECT_EQ(calls_at_first_draw, (std::vector<std::string>{kPromptBox, kHideHello}));
    EXPECT_EQ(writes_at_first_draw, 0u);

    // By the first pump the reset has run in full, then the rally's first step.
    ASSERT_GE(writes_at_first_pump.size(), 9u);
    const auto& w = writes_at_first_pump;
    EXPECT_EQ(w[0].control, "b_goal");
    EXPECT_EQ(w[0].property, Property::top);
    EXPECT_EQ(w[0].value, 394.0f);
    EXPECT_EQ(w[1].control, "b_goal");
    EXPECT_EQ(w[1].property, Property::height);
    EXPECT_EQ(w[1].value, 15.0f);
    EXPECT_EQ(w[2].control, "b_wall");
    EXPECT_EQ(w[2].property, Property::height);
    EXPECT_EQ(w[2].value, 15.0f);
    EXPECT_EQ(w[3].control, "I_ball");
    EXPECT_NEAR(w[3].value, 214.16, 0.01);
    EXPECT_EQ(w[4].control, "I_ball");
    EXPECT_NEAR(w[4].value, 206.98, 0.01);
    EXPECT_EQ(w[5].control, "b_rack_opp");
    EXPECT_EQ(w[5].caption, "0");
    EXPECT_EQ(w[6].control, "b_racket");
    EXPECT_EQ(w[6].caption, "0");
    EXPECT_EQ(w[7].control, "I_ball") << "the rally's first step follows the reset";
    EXPECT_EQ(w[7].property, Property::left);

    EXPECT_EQ(shows_while_pumping, 0u) << "the welcome form came back while the rally was running";
    EXPECT_EQ(f.rt.pumps(), 16650u);
    EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, kShowHello}));
    // The rally reseeds when it starts: it ran between the hide and the show.
    ASSERT_GE(f.rt.calls().size(), 4u);
    EXPECT_EQ(f.rt.calls()[2], "randomize");
    EXPECT_EQ(f.rt.calls().back(), kShowHello);
}

struct GameEnd {
    const char* name;
    void (*wear_down)(forms::frm_court&);  // brings one bar to a height of 1
    const std::string& message;
};

const GameEnd kGameEnds[] = {
    {"won", [](forms::frm_court& c) { c.b_wall.set_height(1); }, kWinBox},
    {"lost", [](forms::frm_court& c) { c.b_goal.set_height(1); }, kLossBox},
};

TEST(GameFlow, a_won_or_lost_game_shows_its_message_then_the_welcome_form_on_a_reset_court) {
    for (const GameEnd& end : kGameEnds) {
        SCOPED_TRACE(end.name);
        Flow f;
        // Whatever is left in the end message's box makes no difference.
        f.rt.script_answers({"50", "whatever"});
        f.rt.at_pump(1, [&] {
            f.court().b_racket.set_caption(" 9");
            f.court().b_rack_opp.set_caption(" 13");
            end.wear_down(f.court());
        });

        f.press_play();

        EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, end.message, kShowHello}));
        EXPECT_EQ(f.court().b_racket.caption(), "0");
        EXPECT_EQ(f.court().b_rack_opp.caption(), "0");
        EXPECT_EQ(f.court().b_wall.height(), 15.0f);
        EXPECT_EQ(f.court().b_goal.height(), 15.0f);
        EXPECT_EQ(f.court().b_goal.top(), 394.0f);
        EXPECT_EQ(f.resets(), 2u) << "one reset before the game, one after its end";
        EXPECT_TRUE(f.court().quit_game);
        EXPECT_EQ(f.rt.pumps(), 16650u) << "the game ended in its first turn";
        EXPECT_TRUE(f.errors().empty());
    }
}

TEST(GameFlow, after_a_won_game_the_next_one_starts_from_the_prompt_as_the_first_did) {
    Flow f;
    f.rt.script_answers({"10", "", "10"});
    f.rt.at_pump(1, [&] { f.court().b_wall.set_height(1); });
    f.press_play();
    f.rt.clear_records();

    f.stop_rallies_at_once();
    f.press_play();
    EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, kShowHello}));
    EXPECT_EQ(f.resets(), 1u);
    EXPECT_FALSE(f.rt.ending());
}

TEST(GameFlow, racket_click_at_the_welcome_form_plays_without_prompt_and_leaves_the_welcome_form_shown) {
    Flow f;
    f.court().Delay_game = 110.0;
    f.stop_rallies_at_once();

    f.click_racket();

    EXPECT_TRUE(f.flow_calls().empty()) << "no prompt, no hiding, no showing";
    EXPECT_EQ(f.resets(), 1u);
    EXPECT_EQ(f.rt.pumps(), 100u);
    EXPECT_GT(f.count_calls("randomize"), 0u) << "no rally ran";
}

}  // namespace
}  // namespace flow_test
