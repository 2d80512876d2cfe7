#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Summaries of repeated measurements, printed as lines the ./bench.sh script
// turns into its table:
//   FIGURE <key> <value> <how it was had: spread, samples>
//   NOTE <key> <free text>
namespace bench {

struct Summary {
    double median = 0, mean = 0, p10 = 0, p90 = 0, p99 = 0, min = 0, max = 0;
    std::size_t n = 0;
};

// Linear interpolation between the closest ranks.
inline double quantile(const std::vector<double>& sorted, double q) {
    if (sorted.empty()) return 0;
    const double rank = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(rank);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (rank - static_cast<double>(below));
}

inline Summary summarize(std::vector<double> samples) {
    Summary s;
    s.n = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.median = quantile(samples, 0.5);
    s.p10 = quantile(samples, 0.1);
    s.p90 = quantile(samples, 0.9);
    s.p99 = quantile(samples, 0.99);
    s.min = samples.front();
    s.max = samples.back();
    double sum = 0;
    for (double v : samples) sum += v;
    s.mean = sum / static_cast<double>(s.n);
    return s;
}

inline void print_value(const std::string& key, double value, const std::string& how) {
    std::printf("FIGURE %s %.6g %s\n", key.c_str(), value, how.c_str());
}

inline void print_note(const std::string& key, const std::string& text) {
    std::printf("NOTE %s %s\n", key.c_str(), text.c_str());
}

enum class Spread { percentiles, range };

// The median of the samples, with p10-p90 for many samples (turns, pointer
// moves) or the whole range for a handful of runs; `digits` after the point.
inline void print_figure(const std::string& key, const Summary& s, Spread spread, int digits = 2) {
    if (s.n == 0) {
        print_note(key, "no samples");
        return;
    }
    const bool p = spread == Spread::percentiles;
    char how[160];
    std::snprintf(how, sizeof how, "median of %zu, %s %.*f-%.*f", s.n, p ? "p10-p90" : "min-max", digits,
                  p ? s.p10 : s.min, digits, p ? s.p90 : s.max);
    print_value(key, s.median, how);
}

}  // namespace bench
