// The court's reset: directions, ball, bars, scores and what it leaves alone.
#include "court_rig.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>

namespace court_test {
namespace {

TEST(CourtReset, restores_directions_bars_ball_scores_and_offset_and_writes_nothing_else) {
    engine::CourtDesign d = forms::court_design();
    d.racket.geometry.width = 100.3f;
    Rig rig(d);
    rig.court.b_racket.set_caption(" 13");
    rig.court.b_goal.set_top(401);
    rig.court.b_goal.set_height(2);
    rig.court.b_wall.set_height(1);
    rig.court.Delay_game = 123.5;
    rig.rt.clear_records();
    rig.rt.script_draws({0.4999f, 0.5f});  // Int(2 * r + 1) turns to 2 exactly at r = 0.5
    rig.court.start_settings();

    EXPECT_EQ(rig.court.kx.value(), -1);  // kx from the first draw, ky from the second
    EXPECT_EQ(rig.court.ky, +1);
    const std::pair<std::string, Property> expected[] = {
        {"b_goal", Property::top},  {"b_goal", Property::height}, {"b_wall", Property::height},
        {"I_ball", Property::left}, {"I_ball", Property::top},    {"b_rack_opp", Property::caption},
        {"b_racket", Property::caption}};
    ASSERT_EQ(rig.rt.writes().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(std::make_pair(rig.rt.writes()[i].control, rig.rt.writes()[i].property), expected[i]) << i;
    EXPECT_EQ(rig.written("b_goal", Property::top)[0], 394.0f);  // the goal bar spans 394 to 409
    EXPECT_EQ(rig.written("b_goal", Property::height)[0], 15.0f);
    EXPECT_EQ(rig.written("b_wall", Property::height)[0], 15.0f);
    EXPECT_EQ(rig.captions("b_racket"), std::vector<std::string>{"0"});  // no leading blank
    EXPECT_EQ(rig.captions("b_rack_opp"), std::vector<std::string>{"0"});
    // The ball's corner goes to the middle of the field the form size gives:
    // 8592 / 20.06 = 428.32 by 8304 / 20.06 = 413.96.
    EXPECT_NEAR(rig.court.I_ball.left(), 214.16, 0.005);
    EXPECT_NEAR(rig.court.I_ball.top(), 206.98, 0.005);
    EXPECT_NEAR(rig.court.half_racket_Width.value(), 2.5, 1e-6);  // the width in points, divided by 20.06 all the same
    EXPECT_EQ(rig.court.Delay_game.value(), 123.5);
}

TEST(CourtReset, does_not_reseed_so_the_first_directions_are_the_same_in_every_run) {
    Rig first, second;  // two runs of the program with different clocks
    first.rt.set_timer(100.25f);
    second.rt.set_timer(61234.5f);
    for (int game = 0; game < 8; ++game) {
        first.court.start_settings();
        second.court.start_settings();
        EXPECT_EQ(first.court.kx.value(), second.court.kx.value()) << "reset " << game;
        EXPECT_EQ(first.court.ky, second.court.ky) << "reset " << game;
    }
    EXPECT_TRUE(first.rt.calls_starting_with("randomize").empty());
}

}  // namespace
}  // namespace court_test
