#pragma once

// Answers at the delay prompt and what each must lead to, in one table: the
// flow tests check every row, and both random players draw from it, so a new
// case is one more row here.

#include "engine/court_rules.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace delay_answers {

// A typed answer and the Delay_game it gives (answer × 333, as a double
// without rounding); 0 when it is refused and the prompt must come again.
struct Answer {
    std::string text;
    double delay_game;
};

// The line the scripted backend records for each time the prompt asks.
inline const std::string kPromptBox =
    "input_box Задержка анимации...|50|3610.8|3610.8|Больше задержка — меньше скорость — 10..100: ";

inline std::string repeated(char c, std::size_t n = std::size_t{1} << 20) { return std::string(n, c); }

// The leading number of the text counts: blanks before it are skipped,
// anything after it is ignored. Empty text is also what Cancel gives.
inline const std::vector<Answer> kAnswers = {
    // Taken, from 10 to 100.
    {"10", 3330}, {"100", 33300}, {"50", 16650}, {"12.5", 4162.5}, {"99.5", 33133.5}, {"10.0", 3330},
    {"100.0", 33300}, {"1e2", 33300}, {"1E+2", 33300}, {"5e1", 16650}, {".5e2", 16650}, {"1000e-1", 33300},
    {"10e", 3330}, {"10e+", 3330},  // an exponent without digits is not read
    {"+50", 16650}, {" 50 ", 16650}, {"  50  ", 16650}, {"\t50", 16650},
    {std::string("50\0" "0", 4), 16650},   // the NUL ends the number: not 500
    {repeated('0') + "50", 16650},         // a megabyte of leading zeros
    {repeated(' ') + "50", 16650},         // a megabyte of leading blanks
    {"50." + repeated('0') + "1", 16650},  // a megabyte of fraction
    {"50" + repeated('x'), 16650},         // a megabyte of trailing text
    {"50abc", 16650}, {"50 ходов", 16650},
    {"50,7", 16650},  // the comma is no decimal point
    // Out of range.
    {"0", 0}, {"-0", 0}, {"5", 0}, {"9.99", 0}, {"9.9999999", 0}, {"9.999999999", 0}, {"100.01", 0},
    {"100.0000001", 0}, {"101", 0}, {"-50", 0},
    {repeated('9'), 0},              // a megabyte of digits: far beyond 100
    {"1" + repeated('0', 400), 0},   // beyond a double's range
    {std::string(300, '7'), 0}, {"1e999", 0}, {"-1e999", 0}, {"1e-999", 0},
    {std::string("5\0" "0", 3), 0},  // a NUL after the 5: only "5" is read
    // No leading number.
    {"", 0}, {" ", 0}, {"   ", 0}, {repeated(' '), 0}, {"nan", 0}, {"NaN", 0}, {"inf", 0}, {"-inf", 0},
    {"Infinity", 0}, {"0x32", 0}, {"0X32", 0}, {"&H32", 0}, {"&h32", 0}, {"0b110010", 0}, {".", 0}, {"+", 0},
    {"-", 0}, {"e50", 0}, {".e2", 0}, {"+-50", 0}, {"--50", 0}, {"1e", 0}, {"5e", 0}, {"5e+", 0}, {"abc", 0},
    {"five", 0}, {"пятьдесят", 0}, {"ИГРАТЬ", 0},
    {"—50", 0},                           // a dash is no minus
    {std::string("\0" "50", 3), 0},       // a NUL before the number
    {"\xEF\xBC\x95\xEF\xBC\x90", 0},      // "５０", full-width digits
    {"\xD9\xA5\xD9\xA0", 0},              // "٥٠", Arabic-Indic digits
    {"\xE2\x80\x8F" "50", 0},             // right-to-left mark before "50"
    {"\xE2\x80\x8E" "50", 0},             // left-to-right mark
    {"\xC2\xA0" "50", 0},                 // no-break space
    {"\xEF\xBB\xBF" "50", 0},             // byte-order mark
    {"\xFF\xFE" "50", 0},                 // bytes that are no UTF-8
};

// The rows no longer than `longest` bytes that the prompt takes (`taken`) or refuses.
inline std::vector<Answer> rows(bool taken, std::size_t longest = SIZE_MAX) {
    std::vector<Answer> out;
    for (const Answer& a : kAnswers)
        if ((a.delay_game != 0) == taken && a.text.size() <= longest) out.push_back(a);
    return out;
}

// One of `from`, drawn at random.
inline const Answer& draw(std::mt19937_64& random, const std::vector<Answer>& from) {
    return from[random() % from.size()];
}

// An answer the prompt takes, as a player types it: a number from 10 to 100
// in one of the forms the prompt reads, or a short row of the table.
inline Answer random_taken(std::mt19937_64& random) {
    static const std::vector<Answer> kShortRows = rows(true, 16);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); };
    const int n = 10 + pick(91);
    const auto taken = [](std::string text, double value) {
        return Answer{std::move(text), value * engine::kPumpsPerDelayUnit};
    };
    switch (pick(9)) {
    case 0: return taken("+" + std::to_string(n), n);
    case 1: return taken("  " + std::to_string(n) + "  ", n);
    case 2: return n < 100 ? taken(std::to_string(n) + ".5", n + 0.5) : taken("1e2", 100);
    case 3: return taken(std::to_string(n) + " ходов", n);
    case 4: return pick(2) ? taken("10", 10) : taken("100", 100);
    case 5: return draw(random, kShortRows);
    default: {
        // Quick games end sooner.
        const int quick = std::min(n, 10 + pick(20));
        return taken(std::to_string(quick), quick);
    }
    }
}

// The start of a text, with bytes outside printable ASCII escaped, for failure messages.
inline std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text.substr(0, 24)) {
        if (c >= 0x20 && c < 0x7f) out += static_cast<char>(c);
        else out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
    }
    return text.size() > 24 ? out + "... (" + std::to_string(text.size()) + " bytes)" : out;
}

}  // namespace delay_answers
