// A key held on a button presses it once, on its own release; the repeats
// of a held key, and keys that went down elsewhere, press nothing.
#include "toolkit/button_keys.h"
#include "toolkit/held_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using toolkit::ButtonKeys;
using toolkit::HeldKeys;

constexpr int kSpace = 1, kEnter = 2;

// One key event as the button gets it, and what it must do.
struct KeyStep {
    bool press;
    int key;
    bool repeat;
    bool acts;  // the button goes down (a press) or clicks (a release)
};
struct KeyStory {
    const char* name;
    std::vector<KeyStep> steps;
};

const KeyStory kStories[] = {
    {"a tap", {{true, kSpace, false, true}, {false, kSpace, false, true}}},
    {"held, with repeats as presses alone",
     {{true, kEnter, false, true}, {true, kEnter, true, false}, {true, kEnter, true, false}, {false, kEnter, false, true}}},
    {"held, with a release before every repeat",
     {{true, kSpace, false, true},
      {false, kSpace, true, false},
      {true, kSpace, true, false},
      {false, kSpace, true, false},
      {true, kSpace, true, false},
      {false, kSpace, false, true}}},
    {"held on a box, then its repeats and release on the button",
     {{true, kEnter, true, false}, {true, kEnter, true, false}, {false, kEnter, false, false}}},
    {"a release alone", {{false, kSpace, false, false}}},
    {"two taps", {{true, kSpace, false, true}, {false, kSpace, false, true}, {true, kSpace, false, true}, {false, kSpace, false, true}}},
    {"a second key while one is held",
     {{true, kSpace, false, true}, {true, kEnter, false, false}, {false, kEnter, false, false}, {false, kSpace, false, true}}},
    {"a second key down first, up last",
     {{true, kSpace, false, true}, {true, kEnter, false, false}, {false, kSpace, false, true}, {false, kEnter, false, false}}},
};

class ButtonKeyStory : public testing::TestWithParam<KeyStory> {};

TEST_P(ButtonKeyStory, goes_down_and_clicks_once_per_key_it_saw_go_down) {
    ButtonKeys keys;
    int step_number = 0;
    for (const KeyStep& step : GetParam().steps) {
        SCOPED_TRACE("step " + std::to_string(++step_number));
        EXPECT_EQ(step.press ? keys.press(step.key, step.repeat) : keys.release(step.key, step.repeat), step.acts);
    }
    EXPECT_FALSE(keys.held());
}

INSTANTIATE_TEST_SUITE_P(Keys, ButtonKeyStory, testing::ValuesIn(kStories),
                         [](const auto& info) { return std::to_string(info.index); });

TEST(ButtonKeys, a_key_held_when_the_button_lost_the_keyboard_clicks_nothing_on_its_release) {
    ButtonKeys keys;
    ASSERT_TRUE(keys.press(kSpace, false));
    keys.forget();
    EXPECT_FALSE(keys.release(kSpace, false));
    EXPECT_TRUE(keys.press(kSpace, false));
}

TEST(HeldKeys, a_press_of_a_key_already_down_is_a_repeat_until_the_key_is_let_go) {
    HeldKeys keys;
    EXPECT_FALSE(keys.press(36));
    EXPECT_FALSE(keys.repeating(36));
    EXPECT_TRUE(keys.press(36));
    EXPECT_TRUE(keys.repeating(36));
    EXPECT_FALSE(keys.press(65));  // another key is not a repeat of it
    keys.release(36);
    EXPECT_FALSE(keys.repeating(36));
    EXPECT_FALSE(keys.press(36));
    EXPECT_TRUE(keys.press(65));
}

TEST(HeldKeys, a_key_let_go_unseen_is_forgotten_and_one_still_down_keeps_repeating) {
    HeldKeys keys;
    keys.press(36);
    keys.press(65);
    keys.press(65);
    keys.keep_only([](std::uint32_t code) { return code == 65; });
    EXPECT_FALSE(keys.press(36));
    EXPECT_TRUE(keys.press(65));
}

}  // namespace
