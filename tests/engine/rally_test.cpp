// The rally loop, turn by turn: the ball's steps, its bounces, the points and
// the ends of a game.
#include "court_rig.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace court_test {
namespace {

// The ball's top as written in turn `turn` (counted from 1).
float ball_top_in_turn(const Rig& rig, int turn) {
    const auto tops = rig.written("I_ball", Property::top);
    return tops.at(static_cast<std::size_t>(turn - 1));
}

// Counts the pumps of each turn. Nothing writes to the court while the loop
// pumps, and every turn writes the ball, so the pumps that see the same number
// of writes belong to one turn.
class PumpsPerTurn {
public:
    explicit PumpsPerTurn(Rig& rig) {
        rig.rt.on_every_pump([this, &rig] {
            const std::size_t seen = rig.rt.writes().size();
            if (seen != last_seen_) {
                counts_.push_back(0);
                last_seen_ = seen;
            }
            ++counts_.back();
        });
    }
    const std::vector<std::uint64_t>& counts() const { return counts_; }

private:
    std::vector<std::uint64_t> counts_;
    std::size_t last_seen_ = std::numeric_limits<std::size_t>::max();
};

// Resets the court with the given directions and scripts the rally's draws
// after them; every turn pumps once, so pump n falls in turn n.
void start(Rig& rig, float kx_draw, float ky_draw, const std::vector<float>& loop_draws) {
    std::vector<float> draws{kx_draw, ky_draw};
    draws.insert(draws.end(), loop_draws.begin(), loop_draws.end());
    rig.rt.script_draws(draws);
    rig.court.Delay_game = 1.0;
    rig.reset();
}

void stop_at_pump(Rig& rig, std::uint64_t pump) {
    rig.rt.at_pump(pump, [&rig] { rig.court.b_wall_Click(); });
}

TEST(RallyWall, ball_half_a_point_above_the_wall_line_scores_twice_before_it_turns) {
    Rig rig(wall_court());
    start(rig, kLeftOrUp, kLeftOrUp, {vertical_speed_draw(6), opponent_draw(kOpponentLeft)});
    stop_at_pump(rig, kWallTurn + 3);
    rig.play();

    const double y0 = rig.H() / 2;
    EXPECT_NEAR(ball_top_in_turn(rig, kWallTurn), 14.5, 1e-4);
    // Scored at 14.5, the bar is 14 high, so the ball is not above the line any
    // more and goes on rising; at 8.5 it scores again and is turned back.
    EXPECT_NEAR(ball_top_in_turn(rig, kWallTurn + 1), y0 - 6 * (kWallTurn + 1), 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, kWallTurn + 2), y0 - 6 * kWallTurn, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, kWallTurn + 3), y0 - 6 * (kWallTurn - 1), 1e-4);
    EXPECT_EQ(rig.written("b_wall", Property::height), (std::vector<float>{14, 13}));
    EXPECT_EQ(rig.captions("b_racket"), (std::vector<std::string>{" 1", " 2"}));
    EXPECT_TRUE(rig.captions("b_rack_opp").empty());
    EXPECT_TRUE(rig.messages().empty());
}

TEST(RallyBottom, ball_five_and_a_half_past_the_bottom_keeps_scoring_until_a_new_speed_lifts_it) {
    Rig rig(bottom_court());
    // sy 6 from the start; after the first point sy 6 again (still past after
    // the 5-point pull), then 2 (past by 1.5 more, still past), then 3.
    start(rig, kRightOrDown, kRightOrDown,
          {vertical_speed_draw(6), vertical_speed_draw(6), vertical_speed_draw(2), vertical_speed_draw(3)});
    stop_at_pump(rig, kBottomTurn + 4);
    rig.play();

    const double y0 = rig.H() / 2;
    const double past = y0 + 6 * kBottomTurn;  // 276.5: bottom at 318.5 against H = 313
    EXPECT_NEAR(ball_top_in_turn(rig, kBottomTurn - 1), past - 6, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, kBottomTurn), past, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, kBottomTurn + 1), past - 5 + 6, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, kBottomTurn + 2), past - 10 + 6 + 2, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, kBottomTurn + 3), past - 15 + 6 + 2 - 3, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, kBottomTurn + 4), past - 15 + 6 + 2 - 6, 1e-4);
    EXPECT_EQ(rig.captions("b_rack_opp"), (std::vector<std::string>{" 1", " 2", " 3"}));
    EXPECT_EQ(rig.rt.draws_taken(), 6u);
    EXPECT_TRUE(rig.captions("b_racket").empty());
}

TEST(RallyBottom, goal_bar_loses_its_points_at_its_top_and_keeps_its_bottom_edge_at_409) {
    Rig rig(bottom_court());
    start(rig, kRightOrDown, kRightOrDown,
          {vertical_speed_draw(6), vertical_speed_draw(6), vertical_speed_draw(2), vertical_speed_draw(3)});
    stop_at_pump(rig, kBottomTurn + 4);
    rig.play();

    EXPECT_EQ(rig.written("b_goal", Property::height), (std::vector<float>{14, 13, 12}));
    EXPECT_EQ(rig.written("b_goal", Property::top), (std::vector<float>{395, 396, 397}));
    EXPECT_EQ(rig.court.b_goal.top() + rig.court.b_goal.height(), 409.0f);
}

TEST(RallyBottom, ball_past_the_bottom_with_the_goal_bar_two_high_loses_in_that_very_turn) {
    Rig rig(bottom_court());
    start(rig, kRightOrDown, kRightOrDown, {vertical_speed_draw(6)});
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
    EXPECT_EQ(rig.court.b_rack_opp.caption(), "0");
    EXPECT_EQ(rig.court.I_ball.top(), static_cast<float>(rig.H() / 2));
}

TEST(RallyGame, fourteenth_point_wins_with_the_message_and_a_fresh_court) {
    Rig rig;
    rig.court.Delay_game = 1.0;
    rig.reset();
    // A player who keeps the racket under the ball's centre, and a clock that
    // moves, so each approach reseeds the opponent differently.
    rig.rt.on_every_pump([&] {
        const auto& c = rig.court;
        rig.court.b_racket.set_left(c.I_ball.left() + (c.I_ball.width() + 2) / 2 - c.b_racket.width() / 2);
        rig.rt.set_timer(static_cast<float>(rig.rt.pumps()) / 7);
        // A game that never ends is a fault too; end it rather than hang.
        if (rig.rt.pumps() > 1'000'000) rig.rt.end_program();
    });
    rig.rt.script_answers({"Yes"});
    rig.play();

    std::vector<std::string> scores;
    for (int p = 1; p <= 14; ++p) scores.push_back(" " + std::to_string(p));
    scores.push_back("0");
    EXPECT_EQ(rig.captions("b_racket"), scores);
    EXPECT_EQ(rig.captions("b_rack_opp"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(rig.written("b_wall", Property::height),
              (std::vector<float>{14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 15}));
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{kWinLine}));
    EXPECT_FALSE(rig.rt.ending());
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
    EXPECT_EQ(rig.court.b_racket.caption(), "0");
    EXPECT_EQ(rig.court.I_ball.left(), static_cast<float>(rig.W() / 2));
}

TEST(RallyStop, wall_click_leaves_ball_bars_and_scores_as_they_are_and_shows_nothing) {
    Rig rig(bottom_court());
    start(rig, kRightOrDown, kRightOrDown,
          {vertical_speed_draw(6), vertical_speed_draw(6), vertical_speed_draw(2), vertical_speed_draw(3)});
    stop_at_pump(rig, kBottomTurn + 4);
    rig.play();

    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kBottomTurn + 4));
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.court.b_rack_opp.caption(), " 3");
    EXPECT_EQ(rig.court.b_racket.caption(), "0");
    EXPECT_EQ(rig.court.b_goal.height(), 12.0f);
    EXPECT_EQ(rig.court.b_goal.top(), 397.0f);
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
    EXPECT_EQ(rig.court.I_ball.top(), ball_top_in_turn(rig, kBottomTurn + 4));
    // The turn after the click only looks at the request: no step is taken.
    EXPECT_EQ(rig.written("I_ball", Property::top).size(), static_cast<std::size_t>(kBottomTurn + 4));
}

TEST(RallyStart, first_step_starts_from_the_middle_of_the_field_wherever_the_ball_stands) {
    Rig rig;
    rig.rt.script_draws({kRightOrDown, kLeftOrUp, vertical_speed_draw(4)});
    rig.court.Delay_game = 1.0;
    rig.court.start_settings();
    rig.court.I_ball.set_left(5);
    rig.court.I_ball.set_top(300);
    rig.rt.clear_records();
    stop_at_pump(rig, 1);
    rig.play();

    EXPECT_EQ(rig.written("I_ball", Property::left), (std::vector<float>{static_cast<float>(rig.W() / 2 + 1)}));
    EXPECT_EQ(rig.written("I_ball", Property::top), (std::vector<float>{static_cast<float>(rig.H() / 2 - 4)}));
}

TEST(RallyStart, reseeds_once_before_the_first_speed_and_once_per_approach) {
    Rig rig;
    start(rig, kRightOrDown, kLeftOrUp, {vertical_speed_draw(6), opponent_draw(kOpponentLeft)});
    stop_at_pump(rig, 10);
    rig.play();
    EXPECT_EQ(rig.rt.calls_starting_with("randomize").size(), 2u);
    EXPECT_EQ(rig.rt.draws_taken(), 4u);
}

struct OpponentCase {
    int k;
    int off;
};
void PrintTo(const OpponentCase& c, std::ostream* os) { *os << "k " << c.k << " -> off " << c.off; }

class RallyOpponentChoice : public ::testing::TestWithParam<OpponentCase> {};

TEST_P(RallyOpponentChoice, stands_on_the_ball_or_one_step_beside_it) {
    const OpponentCase c = GetParam();
    Rig rig;
    start(rig, kRightOrDown, kLeftOrUp, {vertical_speed_draw(6), opponent_draw(c.k)});
    stop_at_pump(rig, 10);
    rig.play();

    const float step = rig.court.b_rack_opp.width() + 2;
    const auto lefts = rig.written("b_rack_opp", Property::left);
    ASSERT_EQ(lefts.size(), 10u);
    double x = rig.W() / 2;
    for (std::size_t turn = 0; turn < lefts.size(); ++turn) {
        x = x + 1;
        EXPECT_EQ(lefts[turn], static_cast<float>(x + c.off * step)) << "turn " << turn + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDraw, RallyOpponentChoice,
                         ::testing::Values(OpponentCase{0, 0}, OpponentCase{1, +1}, OpponentCase{2, -1},
                                           OpponentCase{5, 0}));

TEST(RallyOpponent, one_that_stands_off_keeps_standing_off_up_to_the_wall_and_back_down_to_the_middle) {
    Rig rig;
    start(rig, kRightOrDown, kLeftOrUp, {vertical_speed_draw(6), opponent_draw(kOpponentLeft)});
    // Up from 206.98 at 6 a turn: the wall turns the ball in turn 33, and it is
    // back below the middle line (207) in turn 67.
    stop_at_pump(rig, 67);
    rig.play();

    const float step = rig.court.b_rack_opp.width() + 2;
    const auto lefts = rig.written("b_rack_opp", Property::left);
    ASSERT_EQ(lefts.size(), 66u);
    double x = rig.W() / 2;
    for (std::size_t turn = 0; turn < lefts.size(); ++turn) {
        x = x + 1;
        EXPECT_EQ(lefts[turn], static_cast<float>(x - step)) << "turn " << turn + 1;
    }
    EXPECT_EQ(rig.captions("b_racket"), (std::vector<std::string>{" 1", " 2"}));
    EXPECT_EQ(rig.rt.draws_taken(), 4u);  // kx, ky, sy and one opponent draw
}

TEST(RallyOpponent, chooses_again_after_the_player_returns_the_ball) {
    Rig rig;
    start(rig, kRightOrDown, kLeftOrUp,
          {vertical_speed_draw(6), opponent_draw(kOpponentLeft), vertical_speed_draw(6), opponent_draw(kOpponentRight)});
    // The player stands under the ball; it comes down onto the racket in turn
    // 86 and is back in the upper half in turn 106.
    rig.rt.on_every_pump([&] { rig.court.b_racket.set_left(rig.court.I_ball.left()); });
    stop_at_pump(rig, 110);
    rig.play();

    const float step = rig.court.b_rack_opp.width() + 2;
    const auto lefts = rig.written("b_rack_opp", Property::left);
    ASSERT_EQ(lefts.size(), 66u + 5u);
    EXPECT_FLOAT_EQ(lefts[65], static_cast<float>(rig.W() / 2 + 66 - step));
    for (std::size_t i = 66; i < lefts.size(); ++i)
        EXPECT_FLOAT_EQ(lefts[i], static_cast<float>(rig.W() / 2 + 106 + static_cast<double>(i - 66) + step))
            << "opponent write " << i;
    EXPECT_EQ(rig.rt.calls_starting_with("randomize").size(), 3u);
    EXPECT_EQ(rig.rt.draws_taken(), 6u);
}

TEST(RallyOpponent, on_the_ball_turns_it_back_without_a_new_speed_or_a_pull) {
    Rig rig;
    start(rig, kRightOrDown, kLeftOrUp, {vertical_speed_draw(6), opponent_draw(kOpponentOn)});
    stop_at_pump(rig, 29);
    rig.play();

    // 206.98 - 6 * 27 = 44.98 is above the racket's bottom line 47.99: turned.
    const double y0 = rig.H() / 2;
    EXPECT_NEAR(ball_top_in_turn(rig, 27), y0 - 6 * 27, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, 28), y0 - 6 * 26, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, 29), y0 - 6 * 25, 1e-4);
    EXPECT_EQ(rig.rt.draws_taken(), 4u);
    EXPECT_EQ(rig.written("b_rack_opp", Property::left).size(), 29u);
    EXPECT_TRUE(rig.captions("b_racket").empty());
}

TEST(RallyRacket, player_racket_turns_the_ball_with_a_new_speed_and_a_five_point_pull) {
    Rig rig;
    start(rig, kLeftOrUp, kRightOrDown, {vertical_speed_draw(6), vertical_speed_draw(3)});
    stop_at_pump(rig, 22);
    rig.play();

    // Turn 20: the ball's bottom 370.99 is past the racket's top 366.75 and its
    // centre 216.16 is over the racket (171.01 to 219.00).
    const double y0 = rig.H() / 2;
    EXPECT_NEAR(ball_top_in_turn(rig, 20), y0 + 120, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, 21), y0 + 120 - 5 - 3, 1e-4);
    EXPECT_NEAR(ball_top_in_turn(rig, 22), y0 + 120 - 5 - 6, 1e-4);
    EXPECT_EQ(rig.rt.draws_taken(), 4u);
    EXPECT_TRUE(rig.captions("b_rack_opp").empty());
}

struct SideCase {
    float kx_draw;
    int speed;
    int bounce_turn;
    double drawn_x;  // the ball is drawn where it went past the edge
    double pulled_x;
};
void PrintTo(const SideCase& c, std::ostream* os) {
    *os << (c.kx_draw == kRightOrDown ? "right" : "left") << " edge in turn " << c.bounce_turn << ", new sx " << c.speed;
}

class RallySides : public ::testing::TestWithParam<SideCase> {};

TEST_P(RallySides, edge_turns_the_ball_with_a_new_speed_after_drawing_it_past_the_edge) {
    const SideCase c = GetParam();
    engine::CourtDesign d = forms::court_design();
    d.form.client_width_twips = field_twips(100.5);
    d.ball.geometry.width = 40;
    Rig rig(d);
    start(rig, c.kx_draw, kRightOrDown, {vertical_speed_draw(2), horizontal_speed_draw(c.speed)});
    stop_at_pump(rig, static_cast<std::uint64_t>(c.bounce_turn + 2));
    rig.play();

    const auto lefts = rig.written("I_ball", Property::left);
    ASSERT_EQ(lefts.size(), static_cast<std::size_t>(c.bounce_turn + 2));
    const int back = c.kx_draw == kRightOrDown ? -1 : +1;
    EXPECT_NEAR(lefts[c.bounce_turn - 1], c.drawn_x, 1e-4);
    EXPECT_NEAR(lefts[c.bounce_turn], c.pulled_x + back * c.speed, 1e-4);
    EXPECT_NEAR(lefts[c.bounce_turn + 1], c.pulled_x + 2 * back * c.speed, 1e-4);
    EXPECT_EQ(rig.court.kx.value(), back);
    EXPECT_EQ(rig.rt.draws_taken(), 4u);
}

INSTANTIATE_TEST_SUITE_P(BothEdges, RallySides,
                         ::testing::Values(
                             // From 50.25 to the right: 59.25 + 42 > 100.5 in turn 9, pulled back to 54.25.
                             SideCase{kRightOrDown, 3, 9, 59.25, 54.25},
                             // To the left: -0.75 in turn 51, pulled back to 4.25.
                             SideCase{kLeftOrUp, 2, 51, -0.75, 4.25}));

struct NoPumpCase {
    toolkit::NumberCell delay;
    const char* name;
};
void PrintTo(const NoPumpCase& c, std::ostream* os) { *os << "Delay_game " << c.name; }

class RallyWithoutPumping : public ::testing::TestWithParam<NoPumpCase> {};

TEST_P(RallyWithoutPumping, plays_a_whole_game_to_its_end_without_pumping_once) {
    Rig rig;
    rig.court.Delay_game = GetParam().delay;
    rig.reset();
    rig.rt.script_answers({"Yes"});
    rig.play();

    EXPECT_EQ(rig.rt.pumps(), 0u);
    ASSERT_EQ(rig.messages().size(), 1u);
    EXPECT_TRUE(rig.messages()[0] == kWinLine || rig.messages()[0] == kLossLine) << rig.messages()[0];
    EXPECT_TRUE(rig.court.quit_game);
    EXPECT_EQ(rig.court.b_racket.caption(), "0");
    EXPECT_EQ(rig.court.b_rack_opp.caption(), "0");
    EXPECT_EQ(rig.court.b_goal.height(), 15.0f);
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
    EXPECT_TRUE(rig.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(DelayBelowOne, RallyWithoutPumping,
                         ::testing::Values(NoPumpCase{{}, "empty"}, NoPumpCase{0.0, "0"}, NoPumpCase{0.99, "0.99"}));

struct PumpCase {
    double delay;
    std::uint64_t per_turn;
};
void PrintTo(const PumpCase& c, std::ostream* os) { *os << "Delay_game " << c.delay << " -> " << c.per_turn; }

class RallyPumping : public ::testing::TestWithParam<PumpCase> {};

TEST_P(RallyPumping, pumps_the_whole_part_of_the_delay_in_every_turn) {
    const PumpCase c = GetParam();
    Rig rig;
    rig.court.Delay_game = c.delay;
    rig.reset();
    PumpsPerTurn pumps(rig);
    stop_at_pump(rig, c.per_turn + 1);  // the first pump of the second turn
    rig.play();
    EXPECT_EQ(pumps.counts(), (std::vector<std::uint64_t>{c.per_turn, c.per_turn}));
}

INSTANTIATE_TEST_SUITE_P(Bounds, RallyPumping,
                         ::testing::Values(PumpCase{1.0, 1}, PumpCase{2.999, 2}, PumpCase{4162.5, 4162}));

TEST(RallyPumping, reads_the_delay_once_when_a_turn_starts_counting) {
    Rig rig;
    rig.court.Delay_game = 5.0;
    rig.reset();
    PumpsPerTurn pumps(rig);
    rig.rt.at_pump(1, [&] { rig.court.Delay_game = 2.0; });
    stop_at_pump(rig, 7);
    rig.play();
    EXPECT_EQ(pumps.counts(), (std::vector<std::uint64_t>{5, 2}));
}

TEST(RallyErrors, opponent_score_that_is_no_number_ends_the_rally_with_an_error_and_the_court_as_it_was) {
    Rig rig(bottom_court());
    start(rig, kRightOrDown, kRightOrDown, {vertical_speed_draw(6)});
    rig.rt.at_pump(1, [&] { rig.court.b_rack_opp.set_caption("abc"); });
    rig.play();

    ASSERT_EQ(rig.errors().size(), 1u);
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kBottomTurn));
    // The goal bar had already lost its point when the score could not take it.
    EXPECT_EQ(rig.court.b_goal.height(), 14.0f);
    EXPECT_EQ(rig.court.b_goal.top(), 395.0f);
    EXPECT_EQ(rig.court.b_rack_opp.caption(), "abc");
    EXPECT_EQ(rig.court.I_ball.top(), ball_top_in_turn(rig, kBottomTurn));
    EXPECT_EQ(rig.rt.draws_taken(), 3u);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_FALSE(rig.court.quit_game);
}

struct ScoreCase {
    std::string before;
    std::string after;
    bool fails;
};
void PrintTo(const ScoreCase& c, std::ostream* os) {
    *os << '"' << c.before << "\" -> " << (c.fails ? std::string("error") : '"' + c.after + '"');
}

class RallyPlayerScore : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(RallyPlayerScore, wall_point_converts_the_caption_and_adds_one) {
    const ScoreCase c = GetParam();
    Rig rig(wall_court());
    start(rig, kLeftOrUp, kLeftOrUp, {vertical_speed_draw(6), opponent_draw(kOpponentLeft)});
    rig.rt.at_pump(1, [&] { rig.court.b_racket.set_caption(c.before); });
    stop_at_pump(rig, kWallTurn);
    rig.play();

    // The bar loses its point before the caption is converted.
    EXPECT_EQ(rig.court.b_wall.height(), 14.0f);
    EXPECT_EQ(rig.rt.pumps(), static_cast<std::uint64_t>(kWallTurn));
    EXPECT_EQ(rig.errors().size(), c.fails ? 1u : 0u);
    EXPECT_EQ(rig.court.b_racket.caption(), c.fails ? c.before : c.after);
    EXPECT_TRUE(rig.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Captions, RallyPlayerScore,
                         ::testing::Values(ScoreCase{"32766", " 32767", false}, ScoreCase{"32767", "", true},
                                           ScoreCase{"abc", "", true}, ScoreCase{"  7 ", " 8", false}));

}  // namespace
}  // namespace court_test
