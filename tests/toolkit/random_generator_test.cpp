#include "toolkit/conversions.h"
#include "toolkit/random_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using toolkit::Int;
using toolkit::RandomGenerator;

std::vector<float> first_draws(RandomGenerator& g, int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i) v.push_back(g.next());
    return v;
}

TEST(RandomGenerator, every_draw_lies_in_zero_to_one_excluding_one) {
    RandomGenerator g;
    float lowest = 1.0f, highest = 0.0f;
    double sum = 0;
    constexpr int kDraws = 200'000;
    for (int i = 0; i < kDraws; ++i) {
        const float r = g.next();
        ASSERT_GE(r, 0.0f) << "draw " << i;
        ASSERT_LT(r, 1.0f) << "draw " << i;
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
        sum += r;
    }
    // Spread over the whole interval, centred on a half.
    EXPECT_LT(lowest, 0.001f);
    EXPECT_GT(highest, 0.999f);
    EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
}

TEST(RandomGenerator, two_fresh_generators_give_the_same_draws) {
    RandomGenerator a, b;
    EXPECT_EQ(first_draws(a, 100), first_draws(b, 100));
}

TEST(RandomGenerator, draws_are_not_all_alike) {
    RandomGenerator g;
    const auto draws = first_draws(g, 10);
    for (std::size_t i = 1; i < draws.size(); ++i) EXPECT_NE(draws[i], draws[i - 1]) << "draw " << i;
}

TEST(RandomGenerator, reseeding_with_the_same_seed_repeats_the_draws) {
    RandomGenerator g;
    g.reseed(36000.25f);
    const auto once = first_draws(g, 50);
    first_draws(g, 7);
    g.reseed(36000.25f);
    EXPECT_EQ(first_draws(g, 50), once);

    RandomGenerator other;
    first_draws(other, 3);
    other.reseed(36000.25f);
    EXPECT_EQ(first_draws(other, 50), once);
}

TEST(RandomGenerator, different_seeds_give_different_draws) {
    // Times of day a clock tick apart, and the ends of the day.
    const float seeds[] = {0.5f, 1.0f, 36000.0f, std::nextafter(36000.0f, 86400.0f), 86399.99f};
    std::vector<std::vector<float>> runs;
    for (float s : seeds) {
        RandomGenerator g;
        g.reseed(s);
        runs.push_back(first_draws(g, 20));
    }
    for (std::size_t i = 0; i < runs.size(); ++i)
        for (std::size_t j = i + 1; j < runs.size(); ++j)
            EXPECT_NE(runs[i], runs[j]) << "seeds " << seeds[i] << " and " << seeds[j];
}

TEST(RandomGenerator, a_reseed_leaves_the_start_sequence) {
    RandomGenerator fresh, reseeded;
    reseeded.reseed(43210.5f);
    EXPECT_NE(first_draws(fresh, 20), first_draws(reseeded, 20));
}

TEST(RandomGenerator, coin_of_int_two_r_plus_one_gives_one_and_two_evenly) {
    RandomGenerator g;
    std::array<int, 2> counts{};
    constexpr int kDraws = 4000;
    for (int i = 0; i < kDraws; ++i) {
        const double r = Int(2.0 * g.next() + 1.0);
        ASSERT_TRUE(r == 1.0 || r == 2.0) << r;
        ++counts[static_cast<std::size_t>(r) - 1];
    }
    EXPECT_GT(counts[0], 1800);
    EXPECT_GT(counts[1], 1800);
}

TEST(RandomGenerator, die_of_int_six_r_gives_every_face_evenly) {
    RandomGenerator g;
    std::array<int, 6> counts{};
    constexpr int kDraws = 6000;
    for (int i = 0; i < kDraws; ++i) {
        const double k = Int(g.next() * 6.0);
        ASSERT_TRUE(k >= 0.0 && k <= 5.0) << k;
        ++counts[static_cast<std::size_t>(k)];
    }
    for (std::size_t face = 0; face < counts.size(); ++face) {
        EXPECT_GT(counts[face], 800) << "face " << face;
        EXPECT_LT(counts[face], 1200) << "face " << face;
    }
}

TEST(RandomGenerator, successive_coins_are_not_correlated) {
    // kx and ky are drawn one after the other: all four pairs must occur evenly.
    RandomGenerator g;
    std::array<int, 4> pairs{};
    for (int i = 0; i < 4000; ++i) {
        const int a = static_cast<int>(Int(2.0 * g.next() + 1.0)) - 1;
        const int b = static_cast<int>(Int(2.0 * g.next() + 1.0)) - 1;
        ++pairs[static_cast<std::size_t>(a * 2 + b)];
    }
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        EXPECT_GT(pairs[p], 850) << "pair " << p;
        EXPECT_LT(pairs[p], 1150) << "pair " << p;
    }
}

}  // namespace
