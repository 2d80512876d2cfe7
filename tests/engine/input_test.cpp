// The player's mouse on the court: the racket follows it, a racket click
// starts a faster game inside the running one, a wall click stops the rally.
#include "court_rig.h"

#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace court_test {
namespace {

class MouseOverCourt : public ::testing::TestWithParam<float> {};

TEST_P(MouseOverCourt, places_the_racket_left_of_the_pointer_by_the_offset_without_clamping) {
    const float X = GetParam();
    Rig rig;
    rig.reset();
    const float top = rig.court.b_racket.top();
    rig.rt.move_mouse(rig.court, X, 123.0f);

    EXPECT_EQ(rig.court.b_racket.left(), static_cast<float>(X - rig.court.half_racket_Width.value()));
    EXPECT_EQ(rig.court.b_racket.top(), top);
    ASSERT_EQ(rig.rt.writes().size(), 1u);
    EXPECT_EQ(rig.rt.writes()[0].control, "b_racket");
    EXPECT_EQ(rig.rt.pumps(), 1u);
}

INSTANTIATE_TEST_SUITE_P(InsideAndOutsideTheField, MouseOverCourt,
                         ::testing::Values(100.0f, -100.0f, 1000.0f));

TEST(MouseOverCourt, before_any_reset_places_the_racket_at_the_pointer) {
    Rig rig;
    rig.rt.move_mouse(rig.court, 77.25f, 0.0f);
    EXPECT_EQ(rig.court.b_racket.left(), 77.25f);
}

TEST(MouseOverCourt, during_a_rally_pumps_once_more_inside_the_turn) {
    Rig rig;
    rig.court.Delay_game = 1.0;
    rig.reset();
    rig.rt.at_pump(1, [&] { rig.rt.move_mouse(rig.court, 50.0f, 0.0f); });
    // Pump 2 is the mouse move's own, still inside the first turn.
    rig.rt.at_pump(2, [&] { rig.court.b_wall_Click(); });
    rig.play();
    EXPECT_EQ(rig.rt.pumps(), 2u);
    EXPECT_EQ(rig.written("I_ball", Property::top).size(), 1u);
}

TEST(WallClick, only_asks_the_rally_to_stop) {
    Rig rig;
    rig.reset();
    rig.rt.click(rig.court, rig.court.b_wall);
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_TRUE(rig.rt.writes().empty());
    EXPECT_TRUE(rig.rt.calls().empty());
    EXPECT_EQ(rig.rt.pumps(), 0u);
}

TEST(GoalBar, takes_no_click) {
    Rig rig;
    rig.reset();
    rig.court.clicked(rig.court.b_goal);
    EXPECT_FALSE(rig.court.quit_game);
    EXPECT_TRUE(rig.rt.writes().empty());
    EXPECT_EQ(rig.rt.pumps(), 0u);
}

TEST(WallClick, between_two_games_does_not_stop_the_next_one) {
    Rig rig;
    rig.court.Delay_game = 1.0;
    rig.reset();
    rig.rt.at_pump(2, [&] { rig.court.b_wall_Click(); });
    rig.play();
    ASSERT_EQ(rig.rt.pumps(), 2u);

    rig.rt.click(rig.court, rig.court.b_wall);
    // The next game as the game flow starts it: a reset, then the rally.
    rig.rt.at_pump(5, [&] { rig.court.b_wall_Click(); });
    rig.court.start_settings();
    rig.play();
    EXPECT_EQ(rig.rt.pumps(), 5u);
    EXPECT_EQ(rig.written("I_ball", Property::top).size(), 2u + 1u + 3u);  // two turns, a reset, three turns
}

struct DelayCase {
    double before;
    double after;
};
void PrintTo(const DelayCase& c, std::ostream* os) { *os << "Delay_game " << c.before << " -> " << c.after; }

class RacketClickDelay : public ::testing::TestWithParam<DelayCase> {};

TEST_P(RacketClickDelay, takes_ten_pumps_off_every_turn_of_the_game_it_starts) {
    const DelayCase c = GetParam();
    Rig rig;
    rig.court.Delay_game = c.before;
    rig.court.delay_ini = 7.0;
    rig.reset();
    rig.rt.at_pump(1, [&] { rig.court.b_wall_Click(); });
    rig.rt.click(rig.court, rig.court.b_racket);

    ASSERT_TRUE(rig.court.Delay_game.holds_double());
    EXPECT_EQ(rig.court.Delay_game.value(), c.after);
    EXPECT_EQ(rig.court.delay_ini.value(), 7.0);
    // The game it started ran one turn at the new delay and stopped.
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(c.after));
}

INSTANTIATE_TEST_SUITE_P(DownToTheChosenDelay, RacketClickDelay,
                         ::testing::Values(DelayCase{25, 15}, DelayCase{11, 1}, DelayCase{10, 7}, DelayCase{5, 7}));

TEST(RacketClick, resets_the_court_before_the_game_it_starts) {
    Rig rig;
    rig.court.Delay_game = 11.0;
    rig.court.b_racket.set_caption(" 4");
    rig.court.b_rack_opp.set_caption(" 9");
    rig.court.b_wall.set_height(3);
    rig.court.quit_game = true;
    rig.rt.script_draws({kRightOrDown, kLeftOrUp, vertical_speed_draw(2)});
    rig.rt.at_pump(1, [&] { rig.court.b_wall_Click(); });
    rig.rt.click(rig.court, rig.court.b_racket);

    EXPECT_EQ(rig.rt.pumps(), 1u);  // the reset cleared the stop request
    EXPECT_EQ(rig.court.b_racket.caption(), "0");
    EXPECT_EQ(rig.court.b_rack_opp.caption(), "0");
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
    EXPECT_EQ(rig.court.I_ball.left(), static_cast<float>(rig.W() / 2 + 1));
    EXPECT_EQ(rig.court.I_ball.top(), static_cast<float>(rig.H() / 2 - 2));
}

TEST(RacketClick, before_any_game_leaves_the_delay_empty_and_plays_without_pumping) {
    Rig rig;
    rig.rt.script_answers({"Yes"});
    rig.rt.click(rig.court, rig.court.b_racket);

    EXPECT_TRUE(rig.court.Delay_game.is_empty());
    EXPECT_EQ(rig.rt.pumps(), 0u);
    ASSERT_EQ(rig.messages().size(), 1u);
    EXPECT_TRUE(rig.messages()[0] == kWinLine || rig.messages()[0] == kLossLine) << rig.messages()[0];
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_TRUE(rig.errors().empty());
}

TEST(RacketClick, outer_rally_finishes_its_turn_on_the_fresh_court_then_leaves_without_a_message) {
    Rig rig(bottom_court());
    rig.rt.script_draws({kRightOrDown, kRightOrDown, vertical_speed_draw(6)});
    rig.court.Delay_game = 1.0;
    rig.court.delay_ini = 1.0;
    rig.reset();
    // In the turn where the outer ball is past the bottom the player clicks the
    // racket; the inner game is lost at once at its first pump.
    rig.rt.at_pump(kBottomTurn, [&] { rig.rt.click(rig.court, rig.court.b_racket); });
    rig.rt.at_pump(kBottomTurn + 1, [&] { rig.court.b_goal.set_height(1); });
    rig.rt.script_answers({"Yes", "Yes"});
    rig.play();

    EXPECT_EQ(rig.messages(), (std::vector<std::string>{kLossLine}));
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kBottomTurn + 1));
    EXPECT_TRUE(rig.court.quit_game);
    // The outer loop's point lands on the freshly reset court.
    EXPECT_EQ(rig.court.b_goal.height(), 14.0f);
    EXPECT_EQ(rig.court.b_goal.top(), 395.0f);
    EXPECT_EQ(rig.court.b_rack_opp.caption(), " 1");
    EXPECT_EQ(rig.court.b_racket.caption(), "0");
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
    EXPECT_TRUE(rig.errors().empty());
}

TEST(RacketClick, error_in_the_game_it_started_is_reported_at_the_click_and_leaves_the_court) {
    Rig rig(bottom_court());
    rig.court.Delay_game = 11.0;
    rig.rt.script_draws({kRightOrDown, kRightOrDown, vertical_speed_draw(6)});
    rig.rt.at_pump(1, [&] { rig.court.b_rack_opp.set_caption("abc"); });
    rig.rt.click(rig.court, rig.court.b_racket);

    ASSERT_EQ(rig.errors().size(), 1u);
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kBottomTurn));
    EXPECT_EQ(rig.court.b_goal.height(), 14.0f);
    EXPECT_EQ(rig.court.b_rack_opp.caption(), "abc");
    EXPECT_TRUE(rig.messages().empty());
}

// Clicks the racket at the first pump of every game until `depth` games are
// nested, then runs `innermost` in the first pump of the deepest one.
template <class Innermost>
void nest_racket_clicks(Rig& rig, int depth, int& clicks, Innermost innermost) {
    rig.rt.on_every_pump([&rig, depth, &clicks, innermost] {
        if (clicks < depth) {
            ++clicks;
            rig.rt.click(rig.court, rig.court.b_racket);
        } else {
            innermost();
        }
    });
}

TEST(RacketClick, a_thousand_nested_games_all_finish) {
    Rig rig;
    rig.court.Delay_game = 1.0;
    rig.court.delay_ini = 1.0;
    rig.reset();
    int clicks = 0;
    nest_racket_clicks(rig, 1000, clicks, [&] { rig.court.b_goal.set_height(1); });
    rig.rt.script_answers({"Yes"});
    rig.play();

    EXPECT_EQ(clicks, 1000);
    EXPECT_EQ(rig.rt.pumps(), 1001u);
    // Only the innermost game ends with a message; every other one leaves at
    // the top of its next turn.
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{kLossLine}));
    EXPECT_TRUE(rig.errors().empty());
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_EQ(rig.court.b_goal.height(), 15.0f);
}

TEST(ProgramEnd, from_a_deeply_nested_rally_unwinds_every_game_without_a_message_or_an_error) {
    Rig rig;
    rig.court.Delay_game = 1.0;
    rig.court.delay_ini = 1.0;
    rig.reset();
    constexpr int kDepth = 300;
    int clicks = 0, unwound = 0;
    std::size_t writes_at_end = 0;
    // Every nested game is entered here, so each one's way out is seen here.
    rig.rt.on_every_pump([&] {
        if (clicks < kDepth) {
            ++clicks;
            try {
                rig.court.b_racket_Click();
            } catch (const toolkit::ProgramEnding&) {
                ++unwound;
                throw;
            }
        } else {
            rig.rt.end_program();
            writes_at_end = rig.rt.writes().size();
        }
    });
    EXPECT_THROW(rig.court.move_ball(), toolkit::ProgramEnding);

    EXPECT_EQ(unwound, kDepth);
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kDepth + 1));
    EXPECT_EQ(rig.rt.writes().size(), writes_at_end);  // no game took another step
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_TRUE(rig.errors().empty());
    EXPECT_EQ(rig.rt.calls_starting_with("ending").size(), 1u);
}

TEST(ProgramEnd, during_the_end_message_of_a_nested_game_unwinds_the_outer_game_too) {
    Rig rig;
    rig.court.Delay_game = 1.0;
    rig.court.delay_ini = 1.0;
    rig.reset();
    int clicks = 0;
    nest_racket_clicks(rig, 5, clicks, [&] { rig.court.b_goal.set_height(1); });
    // No answer for the message: the box is closed by the program ending.
    rig.play();

    EXPECT_EQ(rig.messages(), (std::vector<std::string>{kLossLine}));
    EXPECT_TRUE(rig.rt.ending());
    EXPECT_TRUE(rig.errors().empty());
    EXPECT_EQ(rig.rt.pumps(), 6u);
    // The innermost game did not get to reset the court after its message.
    EXPECT_EQ(rig.court.b_goal.height(), 1.0f);
    EXPECT_FALSE(rig.court.quit_game);
}

}  // namespace
}  // namespace court_test
