// Leaving the program on the real windows: "ВЫЙТИ" and the close buttons of
// both windows end the event loop at once, from the welcome form and from
// inside running rallies, nested or not, with no box on the way out.
#include "qt_session.h"

#include <QElapsedTimer>
#include <algorithm>
#include <ostream>

namespace qt_flow {
namespace {

struct Exit {
    const char* name;
    void (*leave)(Session&);
};

class QtLeaving : public Session {
public:
    void press_exit() { click(hello, hello.CommandButton2); }
    void close_court() { close_window(court); }
    void close_hello() { close_window(hello); }

protected:
    // Leaves the program, and starts the clock that measures how long the
    // event loop takes to return after that.
    void leave_now(void (*how)(Session&)) {
        since_exit.start();
        how(*this);
    }

    // Starts a racket game, and from inside it the next one, until `deep`
    // rallies run one inside the other (the first and deep - 1 nested); then
    // leaves the program.
    void racket_rally(int deep, void (*how)(Session&)) {
        ++depth;
        max_depth = std::max(max_depth, depth);
        if (depth < deep) after(40, [this, deep, how] { racket_rally(deep, how); });
        else after(40, [this, how] {
            depth_at_exit = depth;
            welcome_at_exit = welcome_visible();
            leave_now(how);
        });
        click(court, court.b_racket);  // returns when the rally does
        --depth;
    }

    void expect_prompt_end(int status) {
        EXPECT_EQ(status, 0);
        ASSERT_TRUE(since_exit.isValid()) << "the program was never left";
        EXPECT_LT(since_exit.elapsed(), 1000) << "the event loop took long to return";
        EXPECT_TRUE(windows_gone());
    }

    QElapsedTimer since_exit;
    int depth = 0, max_depth = 0, depth_at_exit = 0;
    bool welcome_at_exit = false;
};

void PrintTo(const Exit& exit, std::ostream* out) { *out << exit.name; }

const Exit kExits[] = {
    {"exit_button", [](Session& s) { static_cast<QtLeaving&>(s).press_exit(); }},
    {"court_window_closed", [](Session& s) { static_cast<QtLeaving&>(s).close_court(); }},
    {"welcome_window_closed", [](Session& s) { static_cast<QtLeaving&>(s).close_hello(); }},
};

class QtLeavingTheWelcomeForm : public QtLeaving, public testing::WithParamInterface<Exit> {};

TEST_P(QtLeavingTheWelcomeForm, ends_the_event_loop_and_takes_both_windows_away) {
    when([this] { return welcome_visible(); }, [this] { leave_now(GetParam().leave); });
    const int status = run_program();
    expect_prompt_end(status);
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Flow, QtLeavingTheWelcomeForm, testing::ValuesIn(kExits),
                         [](const auto& info) { return std::string(info.param.name); });

class QtLeavingDuringRackets : public QtLeaving, public testing::WithParamInterface<std::tuple<Exit, int>> {};

TEST_P(QtLeavingDuringRackets, every_rally_unwinds_at_once_with_no_box) {
    const auto& [exit, deep] = GetParam();
    court.Delay_game = 16650.0 + 10.0 * deep;  // each racket click takes 10 off
    when([this] { return welcome_visible(); }, [this, deep = deep, how = exit.leave] { racket_rally(deep, how); });

    const int status = run_program();

    expect_prompt_end(status);
    EXPECT_TRUE(boxes.empty()) << "a box appeared: " << (boxes.empty() ? "" : boxes[0].prompt.toStdString());
    EXPECT_EQ(max_depth, deep);
    EXPECT_EQ(depth_at_exit, deep) << "a rally ended before the program was left";
    EXPECT_EQ(depth, 0) << "a rally is still running";
    EXPECT_TRUE(welcome_at_exit) << "a racket game hid the welcome form";
    EXPECT_EQ(court.Delay_game.value(), 16650.0);
}

INSTANTIATE_TEST_SUITE_P(Flow, QtLeavingDuringRackets,
                         testing::Combine(testing::ValuesIn(kExits), testing::Values(1, 4)),
                         [](const auto& info) {
                             const int deep = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param).name) + "_during_" +
                                    (deep == 1 ? std::string("one_rally") : std::string("racket_clicks_nested_three_deep"));
                         });

TEST_F(QtLeaving, closing_the_court_during_a_prompted_game_ends_it_without_the_welcome_form) {
    replies = {confirm_as_offered()};
    bool game_returned = false;
    every_tick([this] {
        if (!since_exit.isValid() && prompted_game_running()) leave_now([](Session& s) {
            static_cast<QtLeaving&>(s).close_court();
        });
    });
    when([this] { return welcome_visible(); }, [this, &game_returned] {
        click(hello, hello.CommandButton1);
        game_returned = true;
    });

    const int status = run_program();

    expect_prompt_end(status);
    ASSERT_EQ(boxes.size(), 1u) << "a box besides the prompt appeared";
    EXPECT_TRUE(boxes[0].input_box);
    EXPECT_EQ(court.Delay_game.value(), 16650.0);
    EXPECT_TRUE(game_returned);
}

}  // namespace
}  // namespace qt_flow
