// The delay prompt on the real windows: the box the player sees, the answers
// that bring it back, and the delay an accepted answer sets.
#include "qt_session.h"

namespace qt_flow {
namespace {

const QString kPrompt = QString::fromUtf8("Больше задержка — меньше скорость — 10..100: ");
const QString kTitle = QString::fromUtf8("Задержка анимации...");

class QtPrompt : public Session {
protected:
    // Stops every prompted game as soon as it runs, with a click on the wall bar.
    void stop_prompted_games() {
        every_tick([this] {
            if (prompted_game_running()) click(court, court.b_wall);
        });
    }
};

TEST_F(QtPrompt, box_comes_back_offering_50_until_an_answer_from_10_to_100_is_confirmed) {
    replies = {cancel(), type_and_confirm("1"), type_and_confirm("100.5"), type_and_confirm(""),
               type_and_confirm("abc"), type_and_confirm("10")};
    stop_prompted_games();
    bool welcome_back = false;
    when([this] { return welcome_visible(); }, [this, &welcome_back] {
        click(hello, hello.CommandButton1);  // the whole game runs inside the click
        welcome_back = welcome_visible();
        click(hello, hello.CommandButton2);
    });

    EXPECT_EQ(run_program(), 0);

    ASSERT_EQ(boxes.size(), 6u);
    for (const SeenBox& box : boxes) {
        EXPECT_TRUE(box.input_box);
        EXPECT_EQ(box.title, kTitle);
        EXPECT_EQ(box.prompt, kPrompt);
        EXPECT_EQ(box.text, "50");
        EXPECT_TRUE(box.welcome_visible) << "the welcome form went away before an answer was accepted";
    }
    EXPECT_EQ(court.Delay_game.value(), 3330.0);
    EXPECT_EQ(court.delay_ini.value(), 3330.0);
    EXPECT_TRUE(welcome_back);
    EXPECT_TRUE(windows_gone());
}

TEST_F(QtPrompt, second_game_offers_50_again_and_the_offered_answer_gives_16650) {
    replies = {type_and_confirm("100"), confirm_as_offered()};
    stop_prompted_games();
    double first_delay = 0;
    when([this] { return welcome_visible(); }, [this, &first_delay] {
        click(hello, hello.CommandButton1);
        first_delay = court.Delay_game.value();
        click(hello, hello.CommandButton1);
        click(hello, hello.CommandButton2);
    });

    EXPECT_EQ(run_program(), 0);

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].title, kTitle);
    EXPECT_EQ(boxes[1].text, "50");
    EXPECT_EQ(first_delay, 33300.0);
    EXPECT_EQ(court.Delay_game.value(), 16650.0);
    EXPECT_EQ(court.delay_ini.value(), 16650.0);
}

}  // namespace
}  // namespace qt_flow
