#include "toolkit/number_cell.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using namespace toolkit;

NumberCell i16(int v) { return NumberCell(static_cast<std::int16_t>(v)); }

enum class Kind { none, integer, single, dbl };  // none: the cell is empty

Kind kind_of(const NumberCell& c) {
    if (c.is_empty()) return Kind::none;
    if (c.holds_integer()) return Kind::integer;
    return c.holds_single() ? Kind::single : Kind::dbl;
}

TEST(NumberCell, arithmetic_takes_the_wider_operand_kind_and_an_empty_cell_counts_as_an_integer_zero) {
    using enum Kind;
    const NumberCell empty;
    const struct { const char* what; NumberCell result; Kind kind; double value; } table[] = {
        {"empty + empty", empty + empty, integer, 0}, {"-empty", -empty, integer, 0},
        {"empty - int16", empty - i16(10), integer, -10}, {"-single", -NumberCell(2.5f), single, -2.5},
        {"empty + single", empty + NumberCell(2.5f), single, 2.5}, {"int16 + double", i16(1) + NumberCell(0.5), dbl, 1.5},
        {"int16 * single", i16(3) * NumberCell(1.5f), single, 4.5},
        {"double * single", NumberCell(2.0) * NumberCell(1.5f), dbl, 3},
        // A single result is rounded to single precision, a double one is not.
        {"int16 + single 1e-8", i16(1) + NumberCell(1e-8f), single, 1},
        {"int16 + double 1e-8", i16(1) + NumberCell(1e-8), dbl, 1 + 1e-8},
        // Integer results may reach both ends of the 16-bit range; widened, they may pass them.
        {"32766 + 1", i16(32766) + i16(1), integer, 32767}, {"-128 * 256", i16(-128) * i16(256), integer, -32768},
        {"-(-32767)", -i16(-32767), integer, 32767}, {"32767 + double 1", i16(32767) + NumberCell(1.0), dbl, 32768},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(kind_of(row.result), row.kind);
        EXPECT_EQ(row.result.value(), row.value);
    }
}

TEST(NumberCell, overflow_and_invalid_operations_raise_a_run_time_error) {
    const float big_single = std::numeric_limits<float>::max();
    const double big_double = std::numeric_limits<double>::max();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_THROW(i16(32767) + i16(1), RunTimeError);
    EXPECT_THROW(i16(-32768) - i16(1), RunTimeError);
    EXPECT_THROW(i16(-200) * i16(200), RunTimeError);
    EXPECT_THROW(-i16(-32768), RunTimeError);
    EXPECT_THROW(NumberCell() - i16(-32768), RunTimeError);
    EXPECT_THROW(NumberCell(big_single) * i16(2), RunTimeError);
    EXPECT_THROW(NumberCell(big_double) + NumberCell(big_double), RunTimeError);
    EXPECT_THROW(NumberCell(inf) - NumberCell(inf), RunTimeError);
    EXPECT_THROW(NumberCell(inf) * NumberCell(), RunTimeError);
    // Widened to double, the single's overflow goes away.
    EXPECT_NO_THROW(NumberCell(big_single) * NumberCell(2.0));
}

TEST(NumberCell, comparisons_compare_numeric_values_across_kinds) {
    EXPECT_TRUE(i16(1) == NumberCell(1.0) && NumberCell() == i16(0) && i16(10) <= NumberCell(10.0f));
    EXPECT_TRUE(i16(-1) < NumberCell() && NumberCell() < NumberCell(0.5) && NumberCell(16650.0) > i16(10));
    EXPECT_FALSE(i16(2) == NumberCell(2.0000001));
    // A single 0.1 is not the double 0.1: the values compare, not their texts.
    EXPECT_TRUE(NumberCell(0.1f) != NumberCell(0.1));
}

}  // namespace
