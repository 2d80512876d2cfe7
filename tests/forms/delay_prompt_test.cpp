// The delay prompt: its texts, which answers it takes, what it makes of them,
// and that everything else brings the same box back.
#include "flow_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace flow_test {
namespace {

struct Accepted {
    const char* answer;
    double delay;  // event pumps per animation frame
};

// Answer × 333, kept as a double without rounding. The leading number of the
// text counts: blanks before it are skipped, anything after it is ignored.
const Accepted kAccepted[] = {
    {"10", 3330},        {"100", 33300}, {"50", 16650},    {"12.5", 4162.5},
    {"99.5", 33133.5},   {" 50 ", 16650}, {"50abc", 16650}, {"10.0", 3330},
};

TEST(DelayPrompt, an_answer_from_10_to_100_is_taken_at_once_and_sets_both_delays) {
    for (const Accepted& row : kAccepted) {
        SCOPED_TRACE(std::string("answer \"") + row.answer + "\"");
        Flow f;
        f.rt.script_answers({row.answer});
        f.stop_rallies_at_once();
        f.press_play();

        EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, kShowHello}));
        EXPECT_TRUE(f.court().Delay_game.holds_double());
        EXPECT_EQ(f.court().Delay_game.value(), row.delay);
        EXPECT_TRUE(f.court().delay_ini.holds_double());
        EXPECT_EQ(f.court().delay_ini.value(), row.delay);
        // The wall click in the first pump stops the rally after one turn,
        // which pumps once for every whole step of the delay.
        EXPECT_EQ(f.rt.pumps(), static_cast<std::uint64_t>(std::floor(row.delay)));
        EXPECT_TRUE(f.errors().empty());
    }
}

// Out of range, empty (which is also what Cancel gives), or no leading number.
const char* const kRefused[] = {
    "9.99", "100.01", "", "abc", "nan", "inf", "1e999", "-0", "0", "-50", "101", "1e-999", "five", ".",
};

TEST(DelayPrompt, any_other_answer_brings_the_same_box_back_at_once_with_no_message) {
    for (const char* answer : kRefused) {
        SCOPED_TRACE(std::string("answer \"") + answer + "\"");
        Flow f;
        f.rt.script_answers({answer, "20"});
        f.stop_rallies_at_once();
        f.press_play();

        // Nothing between the two boxes, and the second offers "50" again.
        EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kPromptBox, kHideHello, kShowHello}));
        EXPECT_EQ(f.court().Delay_game.value(), 6660.0);
        EXPECT_EQ(f.court().delay_ini.value(), 6660.0);
        EXPECT_TRUE(f.errors().empty());
    }
}

TEST(DelayPrompt, only_an_accepted_answer_leaves_the_prompt) {
    Flow f;
    // With the scripted answers used up the box ends the program.
    f.rt.script_answers({"", "abc", "5", "200", "-10"});
    f.press_play();

    const std::vector<std::string> six_boxes(6, kPromptBox);
    std::vector<std::string> expected = six_boxes;
    expected.push_back("ending");
    EXPECT_EQ(f.flow_calls(), expected);
    EXPECT_TRUE(f.rt.writes().empty()) << "no game started";
    EXPECT_EQ(f.rt.pumps(), 0u);
    EXPECT_TRUE(f.court().Delay_game.is_empty());
    EXPECT_TRUE(f.errors().empty());
}

TEST(DelayPrompt, every_game_asks_again_offering_50_not_the_previous_answer) {
    Flow f;
    f.rt.script_answers({"10", "100"});
    f.stop_rallies_at_once();

    f.press_play();
    EXPECT_EQ(f.court().Delay_game.value(), 3330.0);
    EXPECT_EQ(f.rt.pumps(), 3330u);

    f.press_play();
    EXPECT_EQ(f.flow_calls(), (std::vector<std::string>{kPromptBox, kHideHello, kShowHello, kPromptBox, kHideHello,
                                                        kShowHello}));
    EXPECT_EQ(f.court().Delay_game.value(), 33300.0);
    EXPECT_EQ(f.court().delay_ini.value(), 33300.0);
    EXPECT_EQ(f.rt.pumps(), 3330u + 33300u);
}

TEST(DelayPrompt, a_new_game_sets_the_delay_afresh_after_racket_clicks_shortened_it) {
    Flow f;
    f.rt.script_answers({"10", "10"});
    f.stop_rallies_at_once();
    f.press_play();
    f.click_racket();
    f.click_racket();
    ASSERT_EQ(f.court().Delay_game.value(), 3310.0);

    f.press_play();
    EXPECT_EQ(f.court().Delay_game.value(), 3330.0);
    EXPECT_EQ(f.court().delay_ini.value(), 3330.0);
}

}  // namespace
}  // namespace flow_test
