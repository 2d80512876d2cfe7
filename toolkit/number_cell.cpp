#include "toolkit/number_cell.h"

#include "toolkit/errors.h"
#include "toolkit/texts.h"

#include <cmath>

namespace toolkit {
namespace {

// Ranks of the stored kinds: an operation takes the wider of its operands'.
// Empty counts as a 16-bit 0, so empty + empty is the integer 0.
enum class Width { integer, single, dbl };

Width width_of(const NumberCell& c) {
    if (c.holds_double()) return Width::dbl;
    if (c.holds_single()) return Width::single;
    return Width::integer;
}

NumberCell narrowed(double exact, Width w) {
    switch (w) {
    case Width::integer:
        if (exact < -32768.0 || exact > 32767.0) throw RunTimeError(texts::kOverflow);
        return NumberCell(static_cast<std::int16_t>(exact));
    case Width::single: {
        const float f = static_cast<float>(exact);
        if (!std::isfinite(f)) throw RunTimeError(texts::kOverflow);
        return NumberCell(f);
    }
    case Width::dbl:
        if (!std::isfinite(exact)) throw RunTimeError(texts::kOverflow);
        return NumberCell(exact);
    }
    return {};
}

Width wider(const NumberCell& a, const NumberCell& b) { return std::max(width_of(a), width_of(b)); }

}  // namespace

double NumberCell::value() const {
    return std::visit(
        [](auto v) -> double {
            if constexpr (std::is_same_v<decltype(v), Empty>) return 0.0;
            else return static_cast<double>(v);
        },
        value_);
}

NumberCell operator+(const NumberCell& a, const NumberCell& b) { return narrowed(a.value() + b.value(), wider(a, b)); }
NumberCell operator-(const NumberCell& a, const NumberCell& b) { return narrowed(a.value() - b.value(), wider(a, b)); }
NumberCell operator*(const NumberCell& a, const NumberCell& b) { return narrowed(a.value() * b.value(), wider(a, b)); }
NumberCell NumberCell::operator-() const { return narrowed(-value(), width_of(*this)); }

}  // namespace toolkit
