#include "toolkit/number_cell.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using toolkit::NumberCell;
using toolkit::RunTimeError;

NumberCell i16(int v) { return NumberCell(static_cast<std::int16_t>(v)); }

enum class Kind { empty, integer, single, dbl };

Kind kind_of(const NumberCell& c) {
    if (c.is_empty()) return Kind::empty;
    if (c.holds_integer()) return Kind::integer;
    if (c.holds_single()) return Kind::single;
    return Kind::dbl;
}

TEST(NumberCell, a_new_cell_is_empty_and_counts_as_zero) {
    const NumberCell c;
    EXPECT_TRUE(c.is_empty());
    EXPECT_FALSE(c.holds_integer());
    EXPECT_FALSE(c.holds_single());
    EXPECT_FALSE(c.holds_double());
    EXPECT_EQ(c.value(), 0.0);
}

TEST(NumberCell, arithmetic_takes_the_wider_operand_kind) {
    struct Row {
        const char* what;
        NumberCell result;
        Kind kind;
        double value;
    };
    const Row table[] = {
        {"empty + empty", NumberCell() + NumberCell(), Kind::integer, 0.0},
        {"empty - int16 10", NumberCell() - i16(10), Kind::integer, -10.0},
        {"empty * int16 3", NumberCell() * i16(3), Kind::integer, 0.0},
        {"int16 + int16", i16(2) + i16(3), Kind::integer, 5.0},
        {"int16 + double", i16(1) + NumberCell(0.5), Kind::dbl, 1.5},
        {"double + int16", NumberCell(0.5) + i16(1), Kind::dbl, 1.5},
        {"int16 * single", i16(3) * NumberCell(1.5f), Kind::single, 4.5},
        {"single + int16", NumberCell(1.5f) + i16(1), Kind::single, 2.5},
        {"single + double", NumberCell(1.5f) + NumberCell(0.25), Kind::dbl, 1.75},
        {"double * single", NumberCell(2.0) * NumberCell(1.5f), Kind::dbl, 3.0},
        {"empty + single", NumberCell() + NumberCell(2.5f), Kind::single, 2.5},
        {"empty + double", NumberCell() + NumberCell(16650.0), Kind::dbl, 16650.0},
        {"double 16650 - int16 10", NumberCell(16650.0) - i16(10), Kind::dbl, 16640.0},
        {"-int16", -i16(5), Kind::integer, -5.0},
        {"-double", -NumberCell(2.5), Kind::dbl, -2.5},
        {"-single", -NumberCell(2.5f), Kind::single, -2.5},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(kind_of(row.result), row.kind);
        EXPECT_EQ(row.result.value(), row.value);
    }
}

TEST(NumberCell, negating_an_empty_cell_gives_an_integer_zero) {
    const NumberCell n = -NumberCell();
    EXPECT_TRUE(n.holds_integer());
    EXPECT_EQ(n.value(), 0.0);
}

TEST(NumberCell, a_single_result_is_rounded_to_single_precision) {
    // 1 + 1e-8 is 1 in single precision but not in double.
    const NumberCell s = i16(1) + NumberCell(1e-8f);
    ASSERT_TRUE(s.holds_single());
    EXPECT_EQ(s.value(), 1.0);
    const NumberCell d = i16(1) + NumberCell(1e-8);
    ASSERT_TRUE(d.holds_double());
    EXPECT_GT(d.value(), 1.0);
}

TEST(NumberCell, integer_results_may_reach_both_ends_of_the_16_bit_range) {
    EXPECT_EQ((i16(32766) + i16(1)).value(), 32767.0);
    EXPECT_EQ((i16(-32767) - i16(1)).value(), -32768.0);
    EXPECT_EQ((i16(-128) * i16(256)).value(), -32768.0);
    EXPECT_EQ((-i16(-32767)).value(), 32767.0);
    EXPECT_EQ((NumberCell() - i16(-32767)).value(), 32767.0);
}

TEST(NumberCell, integer_overflow_raises_a_run_time_error) {
    EXPECT_THROW(i16(32767) + i16(1), RunTimeError);
    EXPECT_THROW(i16(-32768) - i16(1), RunTimeError);
    EXPECT_THROW(i16(200) * i16(200), RunTimeError);
    EXPECT_THROW(i16(-200) * i16(200), RunTimeError);
    EXPECT_THROW(-i16(-32768), RunTimeError);
    EXPECT_THROW(NumberCell() - i16(-32768), RunTimeError);
}

TEST(NumberCell, the_same_sum_widened_to_double_does_not_overflow) {
    const NumberCell sum = i16(32767) + NumberCell(1.0);
    ASSERT_TRUE(sum.holds_double());
    EXPECT_EQ(sum.value(), 32768.0);
}

TEST(NumberCell, floating_point_overflow_raises_a_run_time_error) {
    const float big_single = std::numeric_limits<float>::max();
    const double big_double = std::numeric_limits<double>::max();
    EXPECT_THROW(NumberCell(big_single) + NumberCell(big_single), RunTimeError);
    EXPECT_THROW(NumberCell(big_single) * i16(2), RunTimeError);
    EXPECT_THROW(NumberCell(big_double) * i16(2), RunTimeError);
    EXPECT_THROW(NumberCell(big_double) + NumberCell(big_double), RunTimeError);
    // Widened to double the single's overflow goes away.
    EXPECT_NO_THROW(NumberCell(big_single) * NumberCell(2.0));
}

TEST(NumberCell, an_invalid_operation_raises_a_run_time_error) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_THROW(NumberCell(inf) - NumberCell(inf), RunTimeError);
    EXPECT_THROW(NumberCell(inf) * NumberCell(), RunTimeError);
}

TEST(NumberCell, comparisons_compare_numeric_values_across_kinds) {
    EXPECT_TRUE(i16(1) == NumberCell(1.0));
    EXPECT_TRUE(NumberCell(1.5f) == NumberCell(1.5));
    EXPECT_TRUE(NumberCell() == i16(0));
    EXPECT_TRUE(NumberCell() == NumberCell(0.0));
    EXPECT_TRUE(NumberCell() < NumberCell(0.5));
    EXPECT_TRUE(i16(-1) < NumberCell());
    EXPECT_TRUE(NumberCell(16650.0) > i16(10));
    EXPECT_TRUE(i16(10) <= NumberCell(10.0f));
    EXPECT_TRUE(i16(10) >= NumberCell(10.0));
    EXPECT_FALSE(i16(2) == NumberCell(2.0000001));
    // A single 0.1 is not the double 0.1: the values compare, not their texts.
    EXPECT_FALSE(NumberCell(0.1f) == NumberCell(0.1));
    EXPECT_TRUE(NumberCell(0.1f) != NumberCell(0.1));
}

}  // namespace
