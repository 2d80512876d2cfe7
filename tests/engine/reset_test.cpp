// The court's reset: directions, ball, bars, scores and what it leaves alone.
#include "court_rig.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

namespace court_test {
namespace {

TEST(CourtReset, puts_the_ball_corner_in_the_middle_of_the_field_the_form_size_gives) {
    Rig rig;
    ASSERT_EQ(rig.court.width_twips(), 8592.0f);
    ASSERT_EQ(rig.court.height_twips(), 8304.0f);
    rig.court.start_settings();
    // 8592 / 20.06 = 428.32 and 8304 / 20.06 = 413.96: the divisor is 20.06, not 20.
    EXPECT_EQ(rig.court.I_ball.left(), static_cast<float>(8592.0 / 20.06 / 2));
    EXPECT_EQ(rig.court.I_ball.top(), static_cast<float>(8304.0 / 20.06 / 2));
    EXPECT_NEAR(rig.court.I_ball.left(), 214.16, 0.005);
    EXPECT_NEAR(rig.court.I_ball.top(), 206.98, 0.005);
}

TEST(CourtReset, writes_bars_ball_and_scores_in_this_order_and_nothing_else) {
    Rig rig;
    rig.court.start_settings();
    const auto& w = rig.rt.writes();
    ASSERT_EQ(w.size(), 7u);
    const std::pair<std::string, Property> expected[] = {
        {"b_goal", Property::top},      {"b_goal", Property::height},       {"b_wall", Property::height},
        {"I_ball", Property::left},     {"I_ball", Property::top},          {"b_rack_opp", Property::caption},
        {"b_racket", Property::caption}};
    for (std::size_t i = 0; i < w.size(); ++i) {
        EXPECT_EQ(w[i].control, expected[i].first) << "write " << i;
        EXPECT_EQ(w[i].property, expected[i].second) << "write " << i;
    }
    EXPECT_EQ(w[0].value, 394.0f);
    EXPECT_EQ(w[1].value, 15.0f);
    EXPECT_EQ(w[2].value, 15.0f);
}

TEST(CourtReset, both_scores_read_zero_without_a_blank_whatever_they_were) {
    Rig rig;
    rig.court.b_racket.set_caption(" 13");
    rig.court.b_rack_opp.set_caption("abc");
    rig.court.start_settings();
    EXPECT_EQ(rig.court.b_racket.caption(), "0");
    EXPECT_EQ(rig.court.b_rack_opp.caption(), "0");
}

TEST(CourtReset, both_bars_are_fifteen_high_and_the_goal_bar_spans_394_to_409) {
    Rig rig;
    rig.court.b_goal.set_top(401);
    rig.court.b_goal.set_height(2);
    rig.court.b_wall.set_height(1);
    const float wall_top = rig.court.b_wall.top();
    rig.court.start_settings();
    EXPECT_EQ(rig.court.b_goal.top(), 394.0f);
    EXPECT_EQ(rig.court.b_goal.height(), 15.0f);
    EXPECT_EQ(rig.court.b_goal.top() + rig.court.b_goal.height(), 409.0f);
    EXPECT_EQ(rig.court.b_wall.height(), 15.0f);
    EXPECT_EQ(rig.court.b_wall.top(), wall_top);
}

TEST(CourtReset, racket_offset_is_the_racket_width_divided_by_twenty_and_by_two) {
    Rig rig;
    rig.court.start_settings();
    ASSERT_TRUE(rig.court.half_racket_Width.holds_double());
    EXPECT_DOUBLE_EQ(rig.court.half_racket_Width.value(), static_cast<double>(rig.court.b_racket.width()) / 20.06 / 2);
    // About 1.2 points for the designed 47.99-point racket, not 24.
    EXPECT_NEAR(rig.court.half_racket_Width.value(), 1.196, 0.0005);
}

TEST(CourtReset, racket_offset_follows_the_racket_width_of_the_design) {
    engine::CourtDesign d = forms::court_design();
    d.racket.geometry.width = 100.3f;
    Rig rig(d);
    rig.court.start_settings();
    EXPECT_NEAR(rig.court.half_racket_Width.value(), 2.5, 1e-6);
}

struct DirectionCase {
    float kx_draw, ky_draw;
    int kx, ky;
};
void PrintTo(const DirectionCase& c, std::ostream* os) {
    *os << "draws " << c.kx_draw << ", " << c.ky_draw << " -> kx " << c.kx << ", ky " << c.ky;
}

class CourtResetDirections : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(CourtResetDirections, come_from_two_independent_draws_kx_first) {
    const DirectionCase c = GetParam();
    Rig rig;
    rig.rt.script_draws({c.kx_draw, c.ky_draw});
    rig.court.start_settings();
    EXPECT_EQ(rig.rt.draws_taken(), 2u);
    ASSERT_TRUE(rig.court.kx.holds_integer());
    EXPECT_EQ(rig.court.kx.value(), c.kx);
    EXPECT_EQ(rig.court.ky, c.ky);
}

INSTANTIATE_TEST_SUITE_P(AllFourPairs, CourtResetDirections,
                         ::testing::Values(DirectionCase{kLeftOrUp, kLeftOrUp, -1, -1},
                                           DirectionCase{kLeftOrUp, kRightOrDown, -1, +1},
                                           DirectionCase{kRightOrDown, kLeftOrUp, +1, -1},
                                           DirectionCase{kRightOrDown, kRightOrDown, +1, +1},
                                           // Int(2 * r + 1) turns to 2 exactly at r = 0.5.
                                           DirectionCase{0.4999f, 0.5f, -1, +1}));

TEST(CourtReset, does_not_reseed_so_the_first_directions_are_the_same_in_every_run) {
    // Two runs of the program with different clocks: resets before any rally
    // take their draws from the generator's start state.
    Rig first, second;
    first.rt.set_timer(100.25f);
    second.rt.set_timer(61234.5f);
    for (int game = 0; game < 8; ++game) {
        first.court.start_settings();
        second.court.start_settings();
        EXPECT_EQ(first.court.kx.value(), second.court.kx.value()) << "reset " << game;
        EXPECT_EQ(first.court.ky, second.court.ky) << "reset " << game;
    }
    EXPECT_TRUE(first.rt.calls_starting_with("randomize").empty());
    EXPECT_TRUE(second.rt.calls_starting_with("randomize").empty());
}

TEST(CourtReset, clears_a_stop_request) {
    Rig rig;
    rig.court.b_wall_Click();
    ASSERT_TRUE(rig.court.quit_game);
    rig.court.start_settings();
    EXPECT_FALSE(rig.court.quit_game);
}

TEST(CourtReset, leaves_the_delay_alone) {
    Rig rig;
    rig.court.Delay_game = 123.5;
    rig.court.delay_ini = 456.0;
    rig.court.start_settings();
    ASSERT_TRUE(rig.court.Delay_game.holds_double());
    EXPECT_EQ(rig.court.Delay_game.value(), 123.5);
    EXPECT_EQ(rig.court.delay_ini.value(), 456.0);
}

TEST(CourtReset, leaves_an_unset_delay_empty) {
    Rig rig;
    rig.court.start_settings();
    EXPECT_TRUE(rig.court.Delay_game.is_empty());
    EXPECT_TRUE(rig.court.delay_ini.is_empty());
}

TEST(CourtReset, during_a_rally_clears_a_stop_request_made_just_before_it) {
    Rig rig;
    rig.court.Delay_game = 1.0;
    rig.reset();
    // In the same pump: a wall click, then a reset; the loop must go on.
    rig.rt.at_pump(3, [&] { rig.court.b_wall_Click(); });
    rig.rt.at_pump(3, [&] { rig.court.start_settings(); });
    rig.rt.at_pump(6, [&] { rig.court.b_wall_Click(); });
    rig.play();
    EXPECT_EQ(rig.rt.pumps(), 6u);
    EXPECT_TRUE(rig.messages().empty());
}

}  // namespace
}  // namespace court_test
