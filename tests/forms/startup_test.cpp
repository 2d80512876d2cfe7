// Start-up: the court is the first form shown, and its activation brings the
// welcome form over it. Nothing else happens until the player clicks.
#include "flow_rig.h"

#include <gtest/gtest.h>

namespace flow_test {
namespace {

TEST(StartUp, court_is_shown_first_and_its_activation_shows_the_welcome_form_over_it) {
    toolkit::ScriptedRuntime rt;
    forms::Program program(rt);
    program.start();

    // The welcome form is created on its first use, by the activation.
    EXPECT_EQ(rt.calls(), (std::vector<std::string>{"load frm_court", "show frm_court", "load frm_hello",
                                                    kShowHello}));
}

TEST(StartUp, nothing_touches_the_court_until_the_player_clicks) {
    toolkit::ScriptedRuntime rt;
    forms::Program program(rt);
    program.start();

    EXPECT_TRUE(rt.writes().empty()) << "the court keeps its designed layout until the first game";
    EXPECT_EQ(rt.pumps(), 0u);
    EXPECT_EQ(rt.draws_taken(), 0u);
    EXPECT_FALSE(rt.ending());
    EXPECT_TRUE(program.court().Delay_game.is_empty());
    EXPECT_TRUE(program.court().delay_ini.is_empty());
}

}  // namespace
}  // namespace flow_test
