#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace toolkit;

TEST(TextToNumber, reads_the_leading_decimal_number_or_gives_zero) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::string, double>> table = {
        // Blanks before the number are skipped; a sign and a bare point are part of it.
        {"  50  ", 50}, {"\t+50", 50}, {"-.25", -0.25}, {"5.", 5}, {"007", 7}, {"-0", 0},
        // The number ends at the first character that cannot continue it, whatever the locale.
        {"12.5abc", 12.5}, {"50 60", 50}, {"1,5", 1}, {"3.4.5", 3.4}, {"0x32", 0}, {"7-3", 7},
        // An exponent counts only when a digit follows it.
        {"1E2", 100}, {"1e+2", 100}, {"1e-2", 0.01}, {"1e", 1}, {"1e-", 1}, {"1e 2", 1},
        // No number at the start: 0, never a NaN or an infinity taken from a word.
        {"", 0}, {"   ", 0}, {"nan", 0}, {"inf", 0}, {"-infinity", 0}, {"&H32", 0}, {".", 0},
        {"- 5", 0}, {"+-5", 0}, {"e5", 0}, {"\xD0\xBF\xD1\x8F\xD1\x82\xD1\x8C", 0},  // "пять"
        // Full-width "50"; "50" after a right-to-left mark or a no-break space (not a blank).
        {"\xEF\xBC\x95\xEF\xBC\x90", 0}, {"\xE2\x80\x8F" "50", 0}, {"\xC2\xA0" "50", 0},
        {std::string("\0" "50", 3), 0}, {std::string("12\0" "34", 5), 12},
        // Beyond a double: infinity; too small to hold: 0.
        {"1e999", inf}, {"-1e999", -inf}, {"1e99999999999999999999", inf}, {"0.0000001e-999", 0},
    };
    for (const auto& [text, expected] : table) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(text_to_number(text), expected);
    }
}

TEST(TextToNumber, a_megabyte_long_number_is_read_quickly_and_to_the_right_end) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(text_to_number(std::string(1 << 20, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(text_to_number("0." + std::string(1 << 20, '0') + "1"), 0.0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

TEST(TextToInt16, rounds_halves_to_even_and_raises_an_error_outside_the_range_or_for_no_number) {
    const std::vector<std::pair<std::string, std::optional<int>>> table = {
        {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"-1.5", -2}, {"-2.5", -2}, {"0.51", 1}, {"-2.6", -3},
        {"25e-1", 2}, {"1e2", 100}, {" 1", 1}, {"  -7  ", -7}, {"\t3\t", 3}, {"+4", 4},
        {"32767.4", 32767}, {"-32768.5", -32768}, {"32766.5", 32766},
        // Overflow after rounding.
        {"32768", {}}, {"-32769", {}}, {"32767.5", {}}, {"-32768.6", {}}, {"1e5", {}}, {"1e999", {}},
        // Not a whole number text.
        {"", {}}, {"   ", {}}, {"1x", {}}, {"1 2", {}}, {"nan", {}}, {"inf", {}}, {"0x10", {}},
        {"&H10", {}}, {"-", {}}, {".", {}}, {"1e", {}}, {"1,5", {}}, {std::string("1\0", 2), {}},
    };
    for (const auto& [text, expected] : table) {
        SCOPED_TRACE("text \"" + text + "\"");
        if (expected) EXPECT_EQ(text_to_int16(text), *expected);
        else EXPECT_THROW(text_to_int16(text), RunTimeError);
    }
}

TEST(NumberToText, puts_a_blank_in_place_of_the_sign_unless_negative) {
    const std::vector<std::pair<std::int32_t, std::string>> table = {
        {0, " 0"}, {14, " 14"}, {40000, " 40000"}, {-1, "-1"}, {-32768, "-32768"}, {-100000, "-100000"},
    };
    for (const auto& [value, expected] : table) EXPECT_EQ(number_to_text(value), expected);
}

TEST(IntOfNumber, is_the_largest_integer_not_greater_than_the_argument) {
    // The largest draw below 1: computed in double, Int(2r + 1) is 2 and Int(6r) is 5,
    // although 2r + 1 in single precision would round up to 3.
    const double largest_draw = std::nextafter(1.0f, 0.0f);
    const std::vector<std::pair<double, double>> table = {
        {1.9999, 1}, {2, 2}, {-0.5, -1}, {-1, -1}, {-1.0001, -2}, {-2.5, -3}, {1e300, 1e300},
        {2.0 * largest_draw + 1.0, 2}, {largest_draw * 6.0, 5},
    };
    for (const auto& [arg, expected] : table) EXPECT_EQ(Int(arg), expected) << arg;
}

}  // namespace
