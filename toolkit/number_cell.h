#pragma once

#include <cstdint>
#include <variant>

namespace toolkit {

// A value that is empty or holds a 16-bit integer, a single or a double.
// Arithmetic widens to the wider operand, an empty cell counts as 0, and
// integer arithmetic that leaves -32768..32767 raises a run-time error.
class NumberCell {
public:
    struct Empty {};

    NumberCell() = default;
    NumberCell(std::int16_t v) : value_(v) {}
    NumberCell(float v) : value_(v) {}
    NumberCell(double v) : value_(v) {}

    bool is_empty() const { return std::holds_alternative<Empty>(value_); }
    bool holds_integer() const { return std::holds_alternative<std::int16_t>(value_); }
    bool holds_single() const { return std::holds_alternative<float>(value_); }
    bool holds_double() const { return std::holds_alternative<double>(value_); }

    // The numeric value, widened to double; 0 when empty.
    double value() const;

    friend NumberCell operator+(const NumberCell& a, const NumberCell& b);
    friend NumberCell operator-(const NumberCell& a, const NumberCell& b);
    friend NumberCell operator*(const NumberCell& a, const NumberCell& b);
    NumberCell operator-() const;

    friend bool operator==(const NumberCell& a, const NumberCell& b) { return a.value() == b.value(); }
    friend auto operator<=>(const NumberCell& a, const NumberCell& b) { return a.value() <=> b.value(); }

private:
    std::variant<Empty, std::int16_t, float, double> value_;
};

}  // namespace toolkit
