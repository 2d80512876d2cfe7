// Random answers at the delay prompt: whatever the player types, the program
// neither crashes nor raises an error, and only a text that begins with a
// number from 10 to 100 starts a game. The hostile answers of the shared
// table are played through the game flow tests.
#include "forms/program.h"
#include "tests/forms/delay_answers.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <random>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

using delay_answers::printable;

// What became of one answer followed, if the prompt came back, by "50".
struct Outcome {
    int prompts = 0;
    double delay_game = 0;
    std::vector<std::string> errors;
    bool played = false;  // the prompt was left and a rally began
};

Outcome answer(const std::string& text) {
    toolkit::ScriptedRuntime rt;
    forms::Program program(rt);
    program.start();
    rt.script_answers({text, "50"});
    Outcome o;
    // Once the rally pumps, the prompt is behind: the program ends there, so
    // that not even one turn of thousands of pumps is spent.
    rt.on_every_pump([&] {
        o.played = true;
        rt.end_program();
    });
    rt.click(program.hello(), program.hello().CommandButton1);
    for (const std::string& line : rt.calls_starting_with("input_box ")) o.prompts += line == delay_answers::kPromptBox;
    o.delay_game = program.court().Delay_game.value();
    o.errors = rt.calls_starting_with("error ");
    return o;
}

// Random bytes, and random mixtures of the characters numbers are made of:
// every answer is either taken as a delay from 10 to 100 or asked again.
TEST(DelayPrompt, random_texts_are_either_taken_in_range_or_asked_again) {
    std::mt19937 random(20240611);
    static const char kAlphabet[] = "0123456789+-.eE \t\0x&H,";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int k = 0; k < length; ++k)
            text += i % 2 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        const Outcome o = answer(text);
        ASSERT_TRUE(o.errors.empty()) << printable(text) << ": " << o.errors.front();
        ASSERT_TRUE(o.played) << printable(text);
        if (o.prompts == 1) {
            EXPECT_GE(o.delay_game, 3330) << printable(text);
            EXPECT_LE(o.delay_game, 33300) << printable(text);
        } else {
            ASSERT_EQ(o.prompts, 2) << printable(text);
            EXPECT_EQ(o.delay_game, 16650) << printable(text);
        }
    }
}

}  // namespace
