// The player's mouse on the court: the racket follows it, a racket click
// starts a faster game inside the running one, a wall click stops the rally.
#include "court_rig.h"

#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace court_test {
namespace {

class MouseOverCourt : public ::testing::TestWithParam<float> {};

TEST_P(MouseOverCourt, places_the_racket_left_of_the_pointer_by_the_offset_without_clamping) {
    const float X = GetParam();
    Rig rig;
    const float top = rig.court.b_racket.top();
    rig.rt.move_mouse(rig.court, X, 123.0f);
    EXPECT_EQ(rig.court.b_racket.left(), X);  // before any reset the offset is empty, so 0
    rig.reset();
    rig.rt.move_mouse(rig.court, X, 123.0f);
    EXPECT_EQ(rig.written("b_racket", Property::left),
              std::vector<float>{static_cast<float>(X - rig.court.half_racket_Width.value())});
    EXPECT_EQ(rig.rt.writes().size(), 1u);  // the top stays
    EXPECT_EQ(rig.court.b_racket.top(), top);
    EXPECT_EQ(rig.rt.pumps(), 2u);  // one for each move
}

INSTANTIATE_TEST_SUITE_P(InsideAndOutsideTheField, MouseOverCourt, ::testing::Values(77.25f, -100.0f, 1000.0f));

TEST(CourtClicks, wall_click_only_asks_the_rally_to_stop_and_the_goal_bar_takes_none) {
    Rig rig;
    rig.reset();
    rig.court.clicked(rig.court.b_goal);
    EXPECT_FALSE(rig.court.quit_game);
    rig.rt.click(rig.court, rig.court.b_wall);
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_TRUE(rig.rt.writes().empty());
    EXPECT_TRUE(rig.rt.calls().empty());
    EXPECT_EQ(rig.rt.pumps(), 0u);
}

struct ClickCase {
    toolkit::NumberCell delay, chosen;  // Delay_game and delay_ini before the click
    double after;                       // Delay_game after it
};

class RacketClick : public ::testing::TestWithParam<ClickCase> {};

// A click takes 10 pumps off every turn; at 0 or below the delay falls back
// to the chosen one, which is empty (0) before any game. It then resets the
// court, clearing a stop request made just before, and plays a game: stopped
// in its first turn, or played through without pumping at a delay below 1.
TEST_P(RacketClick, lowers_the_delay_resets_the_court_and_starts_a_game) {
    const ClickCase c = GetParam();
    Rig rig;
    rig.court.Delay_game = c.delay;
    rig.court.delay_ini = c.chosen;
    rig.court.b_racket.set_caption(" 4");
    rig.court.b_rack_opp.set_caption(" 9");
    rig.court.b_wall.set_height(3);
    rig.court.b_wall_Click();
    rig.stop_at_pump(1);
    rig.rt.script_answers({"Yes"});
    rig.rt.click(rig.court, rig.court.b_racket);

    EXPECT_EQ(rig.court.Delay_game.value(), c.after);
    EXPECT_EQ(rig.court.delay_ini, c.chosen);
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(c.after));
    EXPECT_EQ(rig.messages().size(), c.after < 1 ? 1u : 0u);
    EXPECT_EQ(rig.court.b_racket.caption(), "0");
    EXPECT_EQ(rig.court.b_rack_opp.caption(), "0");
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
    EXPECT_TRUE(rig.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Delays, RacketClick,
                         ::testing::Values(ClickCase{25.0, 7.0, 15}, ClickCase{11.0, 7.0, 1}, ClickCase{10.0, 7.0, 7},
                                           ClickCase{5.0, 7.0, 7}, ClickCase{{}, {}, 0}, ClickCase{{}, 0.0, 0},
                                           ClickCase{{}, 0.99, 0.99}));

TEST(RacketClick, error_in_the_game_it_started_is_reported_at_the_click) {
    Rig rig(bottom_court());
    rig.court.Delay_game = 11.0;
    rig.rt.script_draws({kRightOrDown, kRightOrDown, vertical_speed_draw(6)});
    rig.rt.at_pump(1, [&] { rig.court.b_rack_opp.set_caption("abc"); });
    rig.rt.click(rig.court, rig.court.b_racket);
    EXPECT_EQ(rig.errors().size(), 1u);
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kBottomTurn));  // the point of turn 20 failed
}

// A click deeper than the stack allows is refused before it changes the
// court: the error is reported at the click, and a click with room plays.
TEST(RacketClick, without_room_on_the_stack_is_reported_and_changes_nothing) {
    Rig rig;
    rig.court.Delay_game = 25.0;
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    // The bottom of this made-up stack lies within the reserve below this frame.
    rig.rt.set_stack_bounds({here - toolkit::StackGuard::kReserveBytes / 2, here + 4096});
    rig.rt.click(rig.court, rig.court.b_racket);
    EXPECT_EQ(rig.errors(), std::vector<std::string>{"error Недостаточно места в стеке"});
    EXPECT_EQ(rig.court.Delay_game.value(), 25.0);
    EXPECT_TRUE(rig.rt.writes().empty());
    EXPECT_EQ(rig.rt.pumps(), 0u);

    rig.rt.set_stack_bounds({here - 2 * toolkit::StackGuard::kReserveBytes, here + 4096});
    rig.stop_at_pump(1);
    rig.rt.click(rig.court, rig.court.b_racket);
    EXPECT_EQ(rig.court.Delay_game.value(), 15.0);
    EXPECT_EQ(rig.errors().size(), 1u);
}

TEST(RacketClickDuringARally, outer_rally_finishes_its_turn_on_the_fresh_court_then_leaves_without_a_message) {
    Rig rig(bottom_court());
    rig.start(kRightOrDown, kRightOrDown, {vertical_speed_draw(6)});
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
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
}

// Starts a game in which the racket is clicked at the first pump of every game
// until `depth` games are nested; `innermost` runs at the first pump of the
// deepest. Tells whether the program's end came out of the outermost game.
bool play_nested(Rig& rig, int depth, std::function<void()> innermost) {
    rig.start(kLeftOrUp, kLeftOrUp);
    int clicks = 0;
    rig.rt.on_every_pump([&] {
        if (clicks++ < depth)
            rig.rt.click(rig.court, rig.court.b_racket);
        else
            innermost();
    });
    try {
        rig.court.move_ball();
    } catch (const toolkit::ProgramEnding&) {
        return true;
    }
    return false;
}

struct NestCase {
    int depth;
    bool program_ends;  // at the deepest game's first pump; else that game is lost
    bool answered;      // the loss message; unanswered, the program's end closes it
};

class NestedGames : public ::testing::TestWithParam<NestCase> {};

TEST_P(NestedGames, end_in_the_innermost_game_unwinds_every_outer_game_at_its_next_step) {
    const NestCase c = GetParam();
    Rig rig;
    if (c.answered) rig.rt.script_answers({"Yes"});
    std::size_t writes_at_end = 0;
    const bool ended = play_nested(rig, c.depth, [&] {
        if (c.program_ends) rig.rt.end_program();
        else rig.court.b_goal.set_height(1);
        writes_at_end = rig.rt.writes().size();
    });

    EXPECT_EQ(ended, !c.answered);
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(c.depth + 1));
    EXPECT_EQ(rig.messages().size(), c.program_ends ? 0u : 1u);
    EXPECT_TRUE(rig.errors().empty());
    if (ended) {
        EXPECT_EQ(rig.rt.writes().size(), writes_at_end);  // no game took another step
        EXPECT_EQ(rig.rt.calls_starting_with("ending").size(), 1u);
    } else {
        EXPECT_EQ(rig.court.b_goal.height(), 15.0f);  // the innermost game reset the court after its message
        EXPECT_TRUE(rig.court.quit_game);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, NestedGames,
                         ::testing::Values(NestCase{1000, false, true}, NestCase{5, false, false},
                                           NestCase{300, true, false}));

}  // namespace
}  // namespace court_test
