#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Summaries of repeated measurements, printed as lines the ./bench script
// turns into its table:
//   FIGURE <key> <median> <low> <high> <p10-p90|min-max> <samples>
//   NOTE <key> <free text>
namespace bench {

struct Summary {
    double median = 0, p10 = 0, p90 = 0, min = 0, max = 0;
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
    s.min = samples.front();
    s.max = samples.back();
    return s;
}

enum class Spread { percentiles, range };

// Many samples (turns, pointer moves) are best described by p10-p90; a
// handful of runs by their whole range.
inline void print_figure(const std::string& key, const Summary& s, Spread spread) {
    if (s.n == 0) {
        std::printf("NOTE %s no samples\n", key.c_str());
        return;
    }
    const bool p = spread == Spread::percentiles;
    std::printf("FIGURE %s %.6g %.6g %.6g %s %zu\n", key.c_str(), s.median, p ? s.p10 : s.min, p ? s.p90 : s.max,
                p ? "p10-p90" : "min-max", s.n);
}

inline void print_note(const std::string& key, const std::string& text) {
    std::printf("NOTE %s %s\n", key.c_str(), text.c_str());
}

}  // namespace bench
