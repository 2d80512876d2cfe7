// Fuzzes toolkit::text_to_number and toolkit::text_to_int16 against a plain
// model of the rule they implement, written here on its own:
//
//   text_to_number: blanks (space, tab) at the start are skipped; then an
//   optional sign, digits with an optional fraction (at least one digit in
//   all), and an optional exponent that counts only when a digit follows the
//   e and its optional sign. That leading number is the value, as the double
//   nearest to it (infinity beyond the range); a text that does not begin
//   with a number gives 0.
//
//   text_to_int16: the whole text, blanks allowed around it, must be such a
//   number; its double is rounded half to even and must lie in -32768..32767.
//   Anything else raises a RunTimeError.
//
// The model reads the number with strtod (the "C" locale is in force here),
// the code under test with its own scanner and std::from_chars. Any
// difference, or any other exception, aborts with the input and both results.
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

struct ModelNumber {
    bool found = false;
    double value = 0;
    std::size_t end = 0;  // just past the number
};

bool blank(char c) { return c == ' ' || c == '\t'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

ModelNumber model_number(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && blank(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::string whole, fraction, exponent;
    while (i < t.size() && digit(t[i])) whole += t[i++];
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && digit(t[i])) fraction += t[i++];
    }
    if (whole.empty() && fraction.empty()) return {};
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        std::string sign;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) sign = t[j++];
        if (j < t.size() && digit(t[j])) {
            exponent = sign;
            while (j < t.size() && digit(t[j])) exponent += t[j++];
            i = j;
        }
    }
    const std::string canonical = (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction) + "e" +
                                  (exponent.empty() ? "0" : exponent);
    errno = 0;
    const double magnitude = std::strtod(canonical.c_str(), nullptr);
    return {true, negative ? -magnitude : magnitude, i};
}

double model_text_to_number(std::string_view t) { return model_number(t).value; }

// Empty when the model says RunTimeError.
std::optional<std::int16_t> model_text_to_int16(std::string_view t) {
    const ModelNumber n = model_number(t);
    if (!n.found) return std::nullopt;
    std::size_t i = n.end;
    while (i < t.size() && blank(t[i])) ++i;
    if (i != t.size()) return std::nullopt;
    if (!std::isfinite(n.value)) return std::nullopt;
    // Half to even, by hand.
    double r = std::floor(n.value);
    const double rest = n.value - r;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
    if (r < -32768 || r > 32767) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::string shown(std::string_view t) {
    std::string out;
    for (unsigned char c : t.substr(0, 200)) {
        char buf[8];
        if (c >= 0x20 && c < 0x7f && c != '\\') out += static_cast<char>(c);
        else std::snprintf(buf, sizeof buf, "\\x%02x", c), out += buf;
    }
    if (t.size() > 200) out += "... (" + std::to_string(t.size()) + " bytes)";
    return out;
}

[[noreturn]] void fault(std::string_view text, const std::string& what) {
    std::fprintf(stderr, "FAULT for \"%s\": %s\n", shown(text).c_str(), what.c_str());
    std::abort();
}

bool same_double(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void check_number(std::string_view text) {
    const double want = model_text_to_number(text);
    const double got = toolkit::text_to_number(text);
    if (!same_double(got, want)) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "text_to_number gives %.17g, the rule gives %.17g", got, want);
        fault(text, buf);
    }
}

void check_int16(std::string_view text) {
    const std::optional<std::int16_t> want = model_text_to_int16(text);
    std::optional<std::int16_t> got;
    try {
        got = toolkit::text_to_int16(text);
    } catch (const toolkit::RunTimeError&) {
        got.reset();
    } catch (const std::exception& e) {
        fault(text, std::string("text_to_int16 threw something else: ") + e.what());
    } catch (...) {
        fault(text, "text_to_int16 threw something that is no exception");
    }
    if (got != want) {
        const auto text_of = [](const std::optional<std::int16_t>& v) {
            return v ? std::to_string(*v) : std::string("a run-time error");
        };
        fault(text, "text_to_int16 gives " + text_of(got) + ", the rule gives " + text_of(want));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check_number(text);
    check_int16(text);
    return 0;
}
