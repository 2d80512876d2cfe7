#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace toolkit {

// The leading decimal number of a text, leading blanks skipped: an optional
// sign, digits with an optional fraction, an optional exponent. A text that
// does not begin with a number gives 0. A number too large for a double gives
// plus or minus infinity rather than a fault, so callers can range-check it.
double text_to_number(std::string_view text);

// A numeric text (blanks allowed around it) as a signed 16-bit integer,
// rounding halves to even. Raises a run-time error for a text that is no
// number or whose value lies outside -32768..32767.
std::int16_t text_to_int16(std::string_view text);

// Decimal text of an integer, with a blank in place of the sign when it is
// not negative: 1 gives " 1", -1 gives "-1".
std::string number_to_text(std::int32_t value);

// Largest integer not greater than the argument.
double Int(double value);

}  // namespace toolkit
