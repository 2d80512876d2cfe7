// A prompted game played to its end on the real windows: the end message in
// the toolkit's box while the welcome form is away, then a reset court and
// the welcome form back.
#include "qt_session.h"

#include <ostream>

namespace qt_flow {
namespace {

struct GameEnd {
    const char* name;
    void (*wear_down)(forms::frm_court&);  // brings one bar to a height of 1
    const char* message;
};

void PrintTo(const GameEnd& end, std::ostream* out) { *out << end.name; }

class QtGameEnd : public Session, public testing::WithParamInterface<GameEnd> {};

TEST_P(QtGameEnd, message_box_then_a_reset_court_and_the_welcome_form_again) {
    const GameEnd& end = GetParam();
    // The smallest delay; the end message is cancelled, which changes nothing.
    replies = {type_and_confirm("10"), cancel()};
    bool worn = false;
    every_tick([this, &worn, &end] {
        if (worn || !prompted_game_running()) return;
        worn = true;
        court.b_racket.set_caption(" 9");
        court.b_rack_opp.set_caption(" 13");
        end.wear_down(court);
    });
    bool welcome_back = false;
    int wall_pixels = 0, goal_pixels = 0;
    when([this] { return welcome_visible(); }, [&] {
        click(hello, hello.CommandButton1);
        welcome_back = welcome_visible();
        wall_pixels = widget(court, court.b_wall)->height();
        goal_pixels = widget(court, court.b_goal)->height();
        click(hello, hello.CommandButton2);
    });

    EXPECT_EQ(run_program(), 0);

    ASSERT_TRUE(worn) << "the game never ran";
    ASSERT_EQ(boxes.size(), 2u);
    const SeenBox& message = boxes[1];
    EXPECT_TRUE(message.input_box);
    EXPECT_EQ(message.prompt, QString::fromUtf8(end.message));
    EXPECT_EQ(message.title, "Yes");
    EXPECT_EQ(message.text, "Yes");
    EXPECT_FALSE(message.welcome_visible) << "the welcome form came back before the game ended";

    EXPECT_TRUE(welcome_back);
    EXPECT_EQ(court.b_racket.caption(), "0");
    EXPECT_EQ(court.b_rack_opp.caption(), "0");
    EXPECT_EQ(court.b_wall.height(), 15.0f);
    EXPECT_EQ(court.b_goal.height(), 15.0f);
    EXPECT_EQ(court.b_goal.top(), 394.0f);
    // 15 points are 20 pixels: the windows show the reset bars too.
    EXPECT_EQ(wall_pixels, 20);
    EXPECT_EQ(goal_pixels, 20);
}

INSTANTIATE_TEST_SUITE_P(
    Flow, QtGameEnd,
    testing::Values(GameEnd{"won", [](forms::frm_court& c) { c.b_wall.set_height(1); }, "ПОЗДРАВЛЯЮ, ТЫ ВЫИГРАЛ!"},
                    GameEnd{"lost", [](forms::frm_court& c) { c.b_goal.set_height(1); }, "ИЗВИНИ, НО ТЫ ПРОИГРАЛ..."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qt_flow
