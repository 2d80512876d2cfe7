#include "toolkit/conversions.h"
#include "toolkit/random_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

using toolkit::Int;
using toolkit::RandomGenerator;

std::vector<float> draws(RandomGenerator& g, int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i) v.push_back(g.next());
    return v;
}

TEST(RandomGenerator, draws_lie_in_zero_to_one_excluding_one_spread_over_the_whole_interval) {
    RandomGenerator g;
    const auto all = draws(g, 200'000);
    const auto [lowest, highest] = std::minmax_element(all.begin(), all.end());
    EXPECT_TRUE(*lowest >= 0.0f && *lowest < 0.001f) << *lowest;
    EXPECT_TRUE(*highest > 0.999f && *highest < 1.0f) << *highest;
    EXPECT_NEAR(std::accumulate(all.begin(), all.end(), 0.0) / static_cast<double>(all.size()), 0.5, 0.01);
}

TEST(RandomGenerator, the_draws_depend_only_on_the_seed_and_a_fresh_generator_starts_alike_every_time) {
    RandomGenerator a, b;
    std::vector<std::vector<float>> runs{draws(a, 20)};
    EXPECT_EQ(draws(b, 20), runs[0]);
    draws(a, 7);  // a reseed restarts the draws, however many were taken before
    a.reseed(36000.25f);
    b.reseed(36000.25f);
    EXPECT_EQ(draws(a, 20), draws(b, 20));
    // Times of day a clock tick apart, and the ends of the day, give runs unlike each other and the start.
    for (float seed : {0.5f, 1.0f, 36000.0f, std::nextafter(36000.0f, 86400.0f), 86399.99f}) {
        a.reseed(seed);
        runs.push_back(draws(a, 20));
    }
    for (std::size_t i = 0; i < runs.size(); ++i)
        for (std::size_t j = i + 1; j < runs.size(); ++j) EXPECT_NE(runs[i], runs[j]) << "runs " << i << ", " << j;
}

TEST(RandomGenerator, the_games_die_and_successive_coins_come_up_evenly) {
    RandomGenerator g;
    std::vector<int> faces(6), coin_pairs(4);
    for (int i = 0; i < 6000; ++i) ++faces.at(static_cast<std::size_t>(Int(g.next() * 6.0)));
    // kx and ky are drawn one after the other: all four pairs must occur evenly.
    for (int i = 0; i < 4000; ++i) {
        const double kx = Int(2.0 * g.next() + 1.0), ky = Int(2.0 * g.next() + 1.0);
        ++coin_pairs.at(static_cast<std::size_t>((kx - 1) * 2 + (ky - 1)));
    }
    for (int n : faces) EXPECT_TRUE(n > 800 && n < 1200) << n;
    for (int n : coin_pairs) EXPECT_TRUE(n > 850 && n < 1150) << n;
}

}  // namespace
