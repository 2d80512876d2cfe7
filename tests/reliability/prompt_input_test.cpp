// Hostile answers at the delay prompt: whatever the player types, the program
// neither crashes nor raises an error, and only a text that begins with a
// number from 10 to 100 starts a game.
#include "forms/program.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <random>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

const std::string kPromptLine = "input_box Задержка анимации...|50|3610.8|3610.8|";
const std::string kMegabyte(1 << 20, '\0');

std::string repeated(char c, std::size_t n = kMegabyte.size()) { return std::string(n, c); }

// What became of one answer followed, if the prompt came back, by "50".
struct Outcome {
    int prompts = 0;
    double delay_game = 0;
    double delay_ini = 0;
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
    for (const std::string& line : rt.calls_starting_with("input_box "))
        if (line.rfind(kPromptLine, 0) == 0) ++o.prompts;
    o.delay_game = program.court().Delay_game.value();
    o.delay_ini = program.court().delay_ini.value();
    o.errors = rt.calls_starting_with("error ");
    return o;
}

std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text.substr(0, 24)) {
        if (c >= 0x20 && c < 0x7f) out += static_cast<char>(c);
        else out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    }
    return text.size() > 24 ? out + "... (" + std::to_string(text.size()) + " bytes)" : out;
}

struct Case {
    std::string text;
    double delay;  // the delay it is taken for; 0 when the prompt must come again
};

TEST(delay_prompt, hostile_answers_bring_the_prompt_back_without_an_error) {
    const std::vector<std::string> rejected = {
        repeated('9'),                              // a megabyte of digits: far beyond 100
        "1" + repeated('0', 400),                   // beyond a double's range
        "1e999",  "-1e999", "1e-999", "nan", "NaN", "inf", "-inf", "Infinity",
        "-0",     "0",      "-50",    "9.99", "9.999999999", "100.01", "100.0000001", "101",
        "0x32",   "0X32",   "&H32",   "&h32", "0b110010",
        "\xEF\xBC\x95\xEF\xBC\x90",                 // "５０", full-width digits
        std::string("5\0" "0", 3),                  // a NUL after the 5: only "5" is read
        std::string("\0" "50", 3),                  // a NUL before the number
        "\xE2\x80\x8F" "50",                        // right-to-left mark before "50"
        "\xE2\x80\x8E" "50",                        // left-to-right mark
        "\xC2\xA0" "50",                            // no-break space
        "\xEF\xBB\xBF" "50",                        // byte-order mark
        "\xFF\xFE" "50",                            // bytes that are no UTF-8
        "",       " ",      repeated(' '),          // only blanks
        ".",      "+",      "-",      "e50",  ".e2", "+-50", "--50", "1e", "5e", "5e+",
        "\xD9\xA5\xD9\xA0",                         // "٥٠", Arabic-Indic digits
    };
    for (const std::string& text : rejected) {
        const Outcome o = answer(text);
        EXPECT_EQ(o.prompts, 2) << "answer \"" << printable(text) << "\" must bring the prompt back";
        EXPECT_EQ(o.delay_game, 16650) << printable(text);
        EXPECT_TRUE(o.errors.empty()) << printable(text) << ": " << o.errors.front();
        EXPECT_TRUE(o.played) << printable(text);
    }
}

TEST(delay_prompt, a_text_that_begins_with_a_number_from_10_to_100_is_taken_at_once) {
    const std::vector<Case> accepted = {
        {"+50", 16650},
        {"  50  ", 16650},
        {"\t50", 16650},
        {std::string("50\0" "0", 4), 16650},       // the NUL ends the number: not 500
        {repeated('0') + "50", 16650},             // a megabyte of leading zeros
        {repeated(' ') + "50", 16650},             // a megabyte of leading blanks
        {"50." + repeated('0') + "1", 16650},      // a megabyte of fraction
        {"50" + repeated('x'), 16650},             // a megabyte of trailing text
        {"10", 3330},
        {"100", 33300},
        {"100.0", 33300},
        {"1e2", 33300},
        {"1E+2", 33300},
        {"5e1", 16650},
        {".5e2", 16650},
        {"1000e-1", 33300},
        {"10e", 3330},                             // an exponent without digits is not read
        {"10e+", 3330},
        {"12.5", 4162.5},
        {"50abc", 16650},
        {"50 ходов", 16650},
        {"50,7", 16650},                           // the comma is no decimal point
    };
    for (const Case& c : accepted) {
        const Outcome o = answer(c.text);
        EXPECT_EQ(o.prompts, 1) << "answer \"" << printable(c.text) << "\" must be taken";
        EXPECT_EQ(o.delay_game, c.delay) << printable(c.text);
        EXPECT_EQ(o.delay_ini, c.delay) << printable(c.text);
        EXPECT_TRUE(o.errors.empty()) << printable(c.text) << ": " << o.errors.front();
        EXPECT_TRUE(o.played) << printable(c.text);
    }
}

// Random bytes, and random mixtures of the characters numbers are made of:
// every answer is either taken as a delay from 10 to 100 or asked again.
TEST(delay_prompt, random_texts_are_either_taken_in_range_or_asked_again) {
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
