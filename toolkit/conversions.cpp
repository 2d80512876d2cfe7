#include "toolkit/conversions.h"

#include "toolkit/errors.h"
#include "toolkit/texts.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace toolkit {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

struct ScannedNumber {
    bool negative = false;
    std::string_view unsigned_part;  // digits, fraction and exponent, no sign
    std::size_t end = 0;             // index just past the number in the text
};

// Finds the longest number at position `pos`; an empty unsigned_part means
// there is none.
ScannedNumber scan_number(std::string_view text, std::size_t pos) {
    ScannedNumber result;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        result.negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t start = pos;
    std::size_t digits = 0;
    while (pos < text.size() && is_digit(text[pos])) ++pos, ++digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && is_digit(text[pos])) ++pos, ++digits;
    }
    if (digits == 0) return {};
    // An exponent counts only when at least one digit follows it.
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t p = pos + 1;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
        if (p < text.size() && is_digit(text[p])) {
            while (p < text.size() && is_digit(text[p])) ++p;
            pos = p;
        }
    }
    result.unsigned_part = text.substr(start, pos - start);
    result.end = pos;
    return result;
}

// The decimal order of magnitude of an unsigned number text: where its first
// significant digit stands relative to the units, exponent included. Used
// only to tell overflow from underflow, so the exponent saturates.
long order_of_magnitude(std::string_view digits) {
    long order = 0;
    bool seen_point = false, seen_significant = false;
    std::size_t i = 0;
    for (; i < digits.size() && digits[i] != 'e' && digits[i] != 'E'; ++i) {
        if (digits[i] == '.') { seen_point = true; continue; }
        if (!seen_significant && digits[i] == '0') { if (seen_point) --order; continue; }
        if (!seen_significant) { seen_significant = true; if (seen_point) --order; continue; }
        if (!seen_point) ++order;
    }
    if (!seen_significant) return 0;
    long exponent = 0;
    bool negative = false;
    if (i < digits.size()) {
        ++i;
        if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
        for (; i < digits.size() && exponent < 1'000'000; ++i) exponent = exponent * 10 + (digits[i] - '0');
    }
    return order + (negative ? -exponent : exponent);
}

// from_chars reads the number independently of the process locale, which Qt
// sets from the environment. A value beyond a double's range becomes infinity,
// one too small to hold becomes 0.
double parse_unsigned(std::string_view digits) {
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return order_of_magnitude(digits) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

std::size_t skip_blanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && is_blank(text[pos])) ++pos;
    return pos;
}

}  // namespace

double text_to_number(std::string_view text) {
    const ScannedNumber n = scan_number(text, skip_blanks(text, 0));
    if (n.unsigned_part.empty()) return 0.0;
    const double magnitude = parse_unsigned(n.unsigned_part);
    return n.negative ? -magnitude : magnitude;
}

std::int16_t text_to_int16(std::string_view text) {
    const ScannedNumber n = scan_number(text, skip_blanks(text, 0));
    if (n.unsigned_part.empty() || skip_blanks(text, n.end) != text.size())
        throw RunTimeError(texts::kTypeMismatch);
    const double magnitude = parse_unsigned(n.unsigned_part);
    const double rounded = std::nearbyint(n.negative ? -magnitude : magnitude);  // default mode: halves to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw RunTimeError(texts::kOverflow);
    return static_cast<std::int16_t>(rounded);
}

std::string number_to_text(std::int32_t value) {
    std::string text = value < 0 ? std::string{} : std::string(1, ' ');
    return text += std::to_string(value);
}

double Int(double value) { return std::floor(value); }

}  // namespace toolkit
