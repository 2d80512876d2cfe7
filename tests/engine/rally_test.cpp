// The rally loop, turn by turn: the ball's steps, its bounces, the points and
// the ends of a game.
#include "court_rig.h"

#include <gtest/gtest.h>

#include <ostream>

namespace court_test {
namespace {

engine::CourtDesign side_court() {
    engine::CourtDesign d = forms::court_design();
    d.form.client_width_twips = static_cast<float>(100.5 * engine::kTwipsPerFieldPoint);
    d.ball.geometry.width = 40;
    return d;
}

// A rally stopped by a wall click, with what it must have written.
struct Trace {
    const char* rule;
    engine::CourtDesign design;
    std::vector<float> draws;  // kx, ky, then the rally's
    int stop_turn, first_turn;
    std::vector<double> tops;   // from first_turn on, as offsets from the middle
    std::vector<double> lefts;  // from first_turn on, where checked
    std::vector<std::string> player_scores, opponent_scores;
    std::vector<float> wall_heights, goal_heights, goal_tops;
    std::size_t draws_taken;
};
void PrintTo(const Trace& t, std::ostream* os) { *os << t.rule; }

class RallyTrace : public ::testing::TestWithParam<Trace> {};

TEST_P(RallyTrace, ball_bars_and_scores_follow_the_rules_and_a_stop_leaves_them_as_they_are) {
    const Trace& c = GetParam();
    Rig rig(c.design);
    rig.start(c.draws[0], c.draws[1], {c.draws.begin() + 2, c.draws.end()});
    // The first step starts from the middle of the field wherever the ball stands.
    rig.court.I_ball.set_left(5);
    rig.court.I_ball.set_top(300);
    rig.rt.clear_records();
    rig.stop_at_pump(static_cast<std::uint64_t>(c.stop_turn));
    rig.play();

    rig.expect_ball_from(Property::top, c.first_turn, rig.H() / 2, c.tops);
    rig.expect_ball_from(Property::left, c.first_turn, 0, c.lefts);
    EXPECT_EQ(rig.captions("b_racket"), c.player_scores);
    EXPECT_EQ(rig.captions("b_rack_opp"), c.opponent_scores);
    EXPECT_EQ(rig.written("b_wall", Property::height), c.wall_heights);
    EXPECT_EQ(rig.written("b_goal", Property::height), c.goal_heights);
    EXPECT_EQ(rig.written("b_goal", Property::top), c.goal_tops);
    EXPECT_EQ(rig.rt.draws_taken(), c.draws_taken);
    // The stop: no message, no reset, and the turn after the click takes no step.
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.written("I_ball", Property::top).size(), static_cast<std::size_t>(c.stop_turn));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RallyTrace,
    ::testing::Values(
        // At 14.5 the ball scores, but against the 14-high bar it is no longer
        // above the line, so it rises on, scores again at 8.5 and turns.
        Trace{"half a point above the wall line", wall_court(),
              {kLeftOrUp, kLeftOrUp, vertical_speed_draw(6), opponent_draw(kOpponentLeft)}, kWallTurn + 3, kWallTurn,
              {-180, -186, -180, -174}, {}, {" 1", " 2"}, {}, {14, 13}, {}, {}, 4},
        // 5.5 past the bottom: turned and pulled up 5 it is still past, so it
        // turns down again and scores again until a new speed (6, 2, then 3)
        // lifts it. The goal bar loses its points at its top; its bottom stays.
        Trace{"past the bottom", bottom_court(),
              {kRightOrDown, kRightOrDown, vertical_speed_draw(6), vertical_speed_draw(6), vertical_speed_draw(2),
               vertical_speed_draw(3)},
              kBottomTurn + 4, kBottomTurn - 1, {114, 120, 121, 118, 110, 107}, {}, {}, {" 1", " 2", " 3"}, {},
              {14, 13, 12}, {395, 396, 397}, 6},
        // Turn 20: the ball's bottom 370.99 is past the racket's top 366.75 and
        // its centre 216.16 is over the racket (171.01 to 219.00): a new speed
        // and a 5-point pull.
        Trace{"onto the player's racket", forms::court_design(),
              {kLeftOrUp, kRightOrDown, vertical_speed_draw(6), vertical_speed_draw(3)}, 22, 20, {120, 112, 109}, {},
              {}, {}, {}, {}, {}, 4},
        // A field 100.5 wide and a ball 42 wide with its margin. From 50.25 to
        // the right: 59.25 + 42 > 100.5 in turn 9, drawn there, pulled back to
        // 54.25 and sent left at a new speed of 3.
        Trace{"off the right edge", side_court(), {kRightOrDown, kRightOrDown, vertical_speed_draw(2),
              horizontal_speed_draw(3)}, 11, 9, {18, 20, 22}, {59.25, 54.25 - 3, 54.25 - 6}, {}, {}, {}, {}, {}, 4},
        // To the left: drawn at -0.75 in turn 51, pulled back to 4.25, new speed 2.
        Trace{"off the left edge", side_court(), {kLeftOrUp, kRightOrDown, vertical_speed_draw(2),
              horizontal_speed_draw(2)}, 53, 51, {102, 104, 106}, {-0.75, 4.25 + 2, 4.25 + 4}, {}, {}, {}, {}, {}, 4}));

TEST(RallyBottom, ball_past_the_bottom_with_the_goal_bar_two_high_loses_in_that_very_turn) {
    Rig rig(bottom_court());
    rig.start(kRightOrDown, kRightOrDown, {vertical_speed_draw(6)});
    rig.rt.at_pump(1, [&] {
        rig.court.b_goal.set_top(407);
        rig.court.b_goal.set_height(2);
    });
    rig.rt.script_answers({"Yes"});
    rig.play();

    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kBottomTurn));
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{kLossLine}));
    // The point is counted, then the game ends before the ball is turned (no new
    // speed is drawn), and the court is reset for the next game.
    EXPECT_EQ(rig.captions("b_rack_opp"), (std::vector<std::string>{" 1", "0"}));
    EXPECT_EQ(rig.written("b_goal", Property::height), (std::vector<float>{2, 1, 15}));
    EXPECT_EQ(rig.written("b_goal", Property::top), (std::vector<float>{407, 408, 394}));
    EXPECT_EQ(rig.rt.draws_taken(), 5u);
    EXPECT_TRUE(rig.court.quit_game);
}

TEST(RallyGame, fourteenth_point_wins_with_the_message_and_a_fresh_court) {
    Rig rig;
    rig.start(kLeftOrUp, kLeftOrUp);
    // A player who keeps the racket under the ball's centre, and a clock that
    // moves, so each approach reseeds the opponent differently.
    rig.rt.on_every_pump([&] {
        const auto& c = rig.court;
        rig.court.b_racket.set_left(c.I_ball.left() + (c.I_ball.width() + 2) / 2 - c.b_racket.width() / 2);
        rig.rt.set_timer(static_cast<float>(rig.rt.pumps()) / 7);
        if (rig.rt.pumps() > 1'000'000) rig.rt.end_program();  // a game that never ends is a fault too
    });
    rig.rt.script_answers({"Yes"});
    rig.play();

    EXPECT_EQ(rig.captions("b_racket"), (std::vector<std::string>{" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9",
                                                                  " 10", " 11", " 12", " 13", " 14", "0"}));
    EXPECT_EQ(rig.captions("b_rack_opp"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(rig.written("b_wall", Property::height),
              (std::vector<float>{14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 15}));
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{kWinLine}));
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_EQ(rig.court.I_ball.left(), static_cast<float>(rig.W() / 2));
}

struct OpponentCase {
    int k, off;
    std::size_t upper_half_turns;  // turns the ball's top stays above the middle line 207
    int turned_in;                 // turn where the ball is turned back down
};

class RallyOpponent : public ::testing::TestWithParam<OpponentCase> {};

// Up from 206.98 at 6 a turn: an opponent on the ball turns it in turn 27
// (44.98 is above its bottom line 47.99), one beside it lets the wall turn it in
// turn 33. Either way the choice holds for the whole approach, and the turn at
// the opponent or the wall draws no new speed and pulls nothing back.
TEST_P(RallyOpponent, stands_on_the_ball_or_one_step_beside_it_for_the_whole_approach) {
    const OpponentCase c = GetParam();
    Rig rig;
    rig.start(kRightOrDown, kLeftOrUp, {vertical_speed_draw(6), opponent_draw(c.k)});
    rig.stop_at_pump(67);
    rig.play();

    const double off = c.off * (rig.court.b_rack_opp.width() + 2.0);
    const auto lefts = rig.written("b_rack_opp", Property::left);
    ASSERT_EQ(lefts.size(), c.upper_half_turns);
    for (std::size_t turn = 1; turn <= lefts.size(); ++turn)
        EXPECT_FLOAT_EQ(lefts[turn - 1], static_cast<float>(rig.W() / 2 + turn + off)) << "turn " << turn;
    const double up = -6.0 * (c.turned_in - 1);
    rig.expect_ball_from(Property::top, c.turned_in - 1, rig.H() / 2, {up, up - 6, up});
    EXPECT_EQ(rig.rt.draws_taken(), 4u);                           // kx, ky, sy and one opponent draw
    EXPECT_EQ(rig.rt.calls_starting_with("randomize").size(), 2u);  // at the start and for the approach
}

INSTANTIATE_TEST_SUITE_P(EveryDraw, RallyOpponent,
                         ::testing::Values(OpponentCase{0, 0, 54, 27}, OpponentCase{1, +1, 66, 33},
                                           OpponentCase{2, -1, 66, 33}, OpponentCase{5, 0, 54, 27}));

TEST(RallyOpponentAgain, chooses_again_after_the_player_returns_the_ball) {
    Rig rig;
    rig.start(kRightOrDown, kLeftOrUp,
              {vertical_speed_draw(6), opponent_draw(kOpponentLeft), vertical_speed_draw(6), opponent_draw(kOpponentRight)});
    // The player stands under the ball; it comes down onto the racket in turn
    // 86 and is back in the upper half in turn 106.
    rig.rt.on_every_pump([&] { rig.court.b_racket.set_left(rig.court.I_ball.left()); });
    rig.stop_at_pump(110);
    rig.play();

    const float step = rig.court.b_rack_opp.width() + 2;
    const auto lefts = rig.written("b_rack_opp", Property::left);
    ASSERT_EQ(lefts.size(), 66u + 5u);
    for (std::size_t i = 66; i < lefts.size(); ++i)
        EXPECT_FLOAT_EQ(lefts[i], static_cast<float>(rig.W() / 2 + 106 + static_cast<double>(i - 66) + step)) << i;
    EXPECT_EQ(rig.rt.calls_starting_with("randomize").size(), 3u);
    EXPECT_EQ(rig.rt.draws_taken(), 6u);
}

struct PumpCase {
    double delay, from_pump_one;  // Delay_game before the rally, and as changed in its first pump
    std::uint64_t pumps;          // in the first two turns
};

class RallyPumping : public ::testing::TestWithParam<PumpCase> {};

// Each turn pumps the whole part of the delay it reads when it starts
// counting, and then ends its frame, so the next turn's moves wait for the
// frame's time. A stop in the first pump of turn 2 lets that turn finish.
TEST_P(RallyPumping, pumps_the_whole_part_of_the_delay_read_when_the_turn_starts_counting_then_ends_the_frame) {
    const PumpCase c = GetParam();
    Rig rig;
    rig.court.Delay_game = c.delay;
    rig.reset();
    rig.rt.at_pump(1, [&] { rig.court.Delay_game = c.from_pump_one; });
    rig.stop_at_pump(static_cast<std::uint64_t>(c.delay) + 1);
    rig.play();
    EXPECT_EQ(rig.rt.pumps(), c.pumps);
    EXPECT_EQ(rig.rt.frame_ends(), (std::vector<std::uint64_t>{static_cast<std::uint64_t>(c.delay), c.pumps}));
    EXPECT_EQ(rig.written("I_ball", Property::top).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Bounds, RallyPumping,
                         ::testing::Values(PumpCase{1.0, 1.0, 2}, PumpCase{2.999, 2.999, 4},
                                           PumpCase{4162.5, 4162.5, 8324}, PumpCase{5.0, 2.0, 5 + 2}));

struct ScoreCase {
    bool opponent;  // the opponent's score at the bottom, else the player's at the wall
    std::string before, after;  // an empty `after`: the point raises an error that ends the game
};

class RallyScore : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(RallyScore, point_converts_the_caption_and_adds_one) {
    const ScoreCase c = GetParam();
    Rig rig(c.opponent ? bottom_court() : wall_court());
    const float direction = c.opponent ? kRightOrDown : kLeftOrUp;
    rig.start(direction, direction, {vertical_speed_draw(6), opponent_draw(kOpponentLeft)});
    toolkit::Control& score = c.opponent ? rig.court.b_rack_opp : rig.court.b_racket;
    rig.rt.at_pump(1, [&] { score.set_caption(c.before); });
    const int turn = c.opponent ? kBottomTurn : kWallTurn;
    if (!c.after.empty()) rig.stop_at_pump(static_cast<std::uint64_t>(turn));
    rig.play();

    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(turn));
    EXPECT_EQ(rig.errors().size(), c.after.empty() ? 1u : 0u);
    EXPECT_EQ(score.caption(), c.after.empty() ? c.before : c.after);
    // The bar loses its point before the caption is converted, and keeps it lost.
    EXPECT_EQ((c.opponent ? rig.court.b_goal : rig.court.b_wall).height(), 14.0f);
    EXPECT_TRUE(rig.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Captions, RallyScore,
                         ::testing::Values(ScoreCase{false, "32766", " 32767"}, ScoreCase{false, "32767", ""},
                                           ScoreCase{false, "  7 ", " 8"},
                                           ScoreCase{true, "abc", ""}, ScoreCase{true, " 41", " 42"}));

}  // namespace
}  // namespace court_test
