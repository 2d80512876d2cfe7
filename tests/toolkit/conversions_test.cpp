#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using toolkit::Int;
using toolkit::number_to_text;
using toolkit::RunTimeError;
using toolkit::text_to_int16;
using toolkit::text_to_number;

struct TextAndNumber {
    std::string text;
    double expected;
};

void expect_numbers(const std::vector<TextAndNumber>& table) {
    for (const auto& row : table) {
        SCOPED_TRACE("text \"" + row.text + "\"");
        EXPECT_EQ(text_to_number(row.text), row.expected);
    }
}

// --- text_to_number -------------------------------------------------------

TEST(TextToNumber, reads_the_leading_decimal_number_after_blanks) {
    expect_numbers({
        {"50", 50.0},
        {"  50", 50.0},
        {"  50  ", 50.0},
        {"\t50", 50.0},
        {"+50", 50.0},
        {"-50", -50.0},
        {"9.99", 9.99},
        {"100.01", 100.01},
        {".5", 0.5},
        {"5.", 5.0},
        {"-.25", -0.25},
        {"007", 7.0},
    });
}

TEST(TextToNumber, stops_at_the_first_character_that_is_not_part_of_the_number) {
    expect_numbers({
        {"12.5abc", 12.5},
        {"50 60", 50.0},
        {"1,5", 1.0},
        {"3.4.5", 3.4},
        {"10%", 10.0},
        {"0x32", 0.0},
        {"7-3", 7.0},
    });
}

TEST(TextToNumber, takes_an_exponent_only_when_a_digit_follows_it) {
    expect_numbers({
        {"1e2", 100.0},
        {"1E2", 100.0},
        {"1e+2", 100.0},
        {"1e-2", 0.01},
        {"2.5e1", 25.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1e-", 1.0},
        {"1ex", 1.0},
        {"1e 2", 1.0},
    });
}

TEST(TextToNumber, gives_zero_for_a_text_that_does_not_begin_with_a_number) {
    expect_numbers({
        {"", 0.0},
        {"   ", 0.0},
        {"abc", 0.0},
        {"nan", 0.0},
        {"NaN", 0.0},
        {"inf", 0.0},
        {"-inf", 0.0},
        {"infinity", 0.0},
        {"&H32", 0.0},
        {"+", 0.0},
        {"-", 0.0},
        {".", 0.0},
        {"- 5", 0.0},
        {"+-5", 0.0},
        {"e5", 0.0},
        {"\xD0\xBF\xD1\x8F\xD1\x82\xD1\x8C", 0.0},  // "пять"
    });
}

TEST(TextToNumber, minus_zero_is_a_zero_below_ten) {
    const double v = text_to_number("-0");
    EXPECT_EQ(v, 0.0);
    EXPECT_LT(v, 10.0);
    EXPECT_TRUE(std::signbit(v));
}

TEST(TextToNumber, a_number_beyond_a_double_gives_infinity_and_a_tiny_one_zero) {
    const double inf = std::numeric_limits<double>::infinity();
    expect_numbers({
        {"1e999", inf},
        {"-1e999", -inf},
        {"1e99999999999999999999", inf},
        {"1e-999", 0.0},
        {"0.0000001e-999", 0.0},
        {"-1e-999", 0.0},
    });
    EXPECT_TRUE(std::signbit(text_to_number("-1e-999")));
}

TEST(TextToNumber, a_megabyte_of_digits_is_infinity_and_read_quickly) {
    const std::string digits(1 << 20, '9');
    const auto started = std::chrono::steady_clock::now();
    const double v = text_to_number(digits);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(v, std::numeric_limits<double>::infinity());
    EXPECT_LT(took, std::chrono::milliseconds(500));
}

TEST(TextToNumber, a_megabyte_of_zeros_after_the_point_is_zero) {
    std::string text = "0." + std::string(1 << 20, '0') + "1";
    EXPECT_EQ(text_to_number(text), 0.0);
}

TEST(TextToNumber, unicode_digits_marks_and_nul_are_not_a_number) {
    expect_numbers({
        {"\xEF\xBC\x95\xEF\xBC\x90", 0.0},   // full-width "50"
        {"\xE2\x80\x8F" "50", 0.0},          // right-to-left mark, then "50"
        {"\xE2\x80\x8E" "50", 0.0},          // left-to-right mark, then "50"
        {"\xC2\xA0" "50", 0.0},              // no-break space is not a blank
        {std::string("\0" "50", 3), 0.0},    // leading NUL
        {std::string("12\0" "34", 5), 12.0}, // an embedded NUL ends the number
    });
}

// --- text_to_int16 --------------------------------------------------------

TEST(TextToInt16, rounds_halves_to_even) {
    const std::vector<std::pair<std::string, int>> table = {
        {"0.5", 0},  {"1.5", 2},   {"2.5", 2},   {"3.5", 4},   {"-0.5", 0},
        {"-1.5", -2}, {"-2.5", -2}, {"0.49", 0}, {"0.51", 1},  {"2.6", 3},
        {"-2.6", -3}, {"1e0", 1},   {"25e-1", 2}, {"1e2", 100},
    };
    for (const auto& [text, expected] : table) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(text_to_int16(text), expected);
    }
}

TEST(TextToInt16, allows_blanks_around_the_number) {
    const std::vector<std::pair<std::string, int>> table = {
        {" 1", 1}, {"1 ", 1}, {"  -7  ", -7}, {"\t3\t", 3}, {"+4", 4},
    };
    for (const auto& [text, expected] : table) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(text_to_int16(text), expected);
    }
}

TEST(TextToInt16, accepts_the_whole_16_bit_range_after_rounding) {
    EXPECT_EQ(text_to_int16("32767"), 32767);
    EXPECT_EQ(text_to_int16("-32768"), -32768);
    EXPECT_EQ(text_to_int16("32767.4"), 32767);
    EXPECT_EQ(text_to_int16("32766.5"), 32766);
    EXPECT_EQ(text_to_int16("-32768.5"), -32768);  // half to even stays in range
    EXPECT_EQ(text_to_int16("-32768.4"), -32768);
}

TEST(TextToInt16, raises_a_run_time_error_outside_the_16_bit_range) {
    for (const std::string text : {"32768", "-32769", "32767.5", "-32768.6", "-32769.5", "100000", "1e999",
                                   "-1e999", "1e5"}) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_THROW(text_to_int16(text), RunTimeError);
    }
}

TEST(TextToInt16, raises_a_run_time_error_for_a_text_that_is_no_number) {
    for (const std::string text : {"abc", "", "   ", "1x", "1 2", "x1", "nan", "inf", "0x10", "&H10", "+", "-",
                                   ".", "1e", "1,5"}) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_THROW(text_to_int16(text), RunTimeError);
    }
    EXPECT_THROW(text_to_int16(std::string("1\0", 2)), RunTimeError);
}

// --- number_to_text -------------------------------------------------------

TEST(NumberToText, puts_a_blank_in_place_of_the_sign_unless_negative) {
    const std::vector<std::pair<std::int32_t, std::string>> table = {
        {0, " 0"},          {1, " 1"},          {14, " 14"},           {32767, " 32767"},
        {-1, "-1"},         {-32768, "-32768"}, {40000, " 40000"},     {-100000, "-100000"},
    };
    for (const auto& [value, expected] : table) {
        SCOPED_TRACE("value " + std::to_string(value));
        EXPECT_EQ(number_to_text(value), expected);
    }
}

TEST(NumberToText, round_trips_through_text_to_int16) {
    for (int v : {-32768, -1, 0, 1, 15, 32767}) {
        SCOPED_TRACE(v);
        EXPECT_EQ(text_to_int16(number_to_text(v)), v);
    }
}

// --- Int ------------------------------------------------------------------

TEST(IntOfNumber, is_the_largest_integer_not_greater_than_the_argument) {
    const std::vector<std::pair<double, double>> table = {
        {0.0, 0.0},   {1.9999, 1.0}, {2.0, 2.0},   {-0.5, -1.0}, {-1.0, -1.0},
        {-1.0001, -2.0}, {0.9999999, 0.0}, {2.9999998807907104, 2.0}, {1e300, 1e300}, {-2.5, -3.0},
    };
    for (const auto& [arg, expected] : table) {
        SCOPED_TRACE(arg);
        EXPECT_EQ(Int(arg), expected);
    }
}

TEST(IntOfNumber, of_twice_the_largest_draw_plus_one_is_two) {
    // Worked in double: in single precision 2 * r + 1 rounds up to 3 for this draw.
    const double largest_draw = std::nextafter(1.0f, 0.0f);
    EXPECT_EQ(Int(2.0 * largest_draw + 1.0), 2.0);
    EXPECT_EQ(Int(largest_draw * 6.0), 5.0);
}

}  // namespace
