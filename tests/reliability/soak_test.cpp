// Whole games from seeded random play, each checked at every pump.
//
//   BOUNZO_SOAK_GAMES=N        play at least N games (200 unless set)
//   BOUNZO_SOAK_FIRST_SEED=S   start from seed S (1 unless set)
//   BOUNZO_SOAK_SEED=S         replay the one session of seed S
#include "soak_session.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <gtest/gtest.h>

namespace {

std::uint64_t env_number(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

TEST(Soak, random_whole_games_keep_the_court_sound_and_always_end) {
    const bool replay = std::getenv("BOUNZO_SOAK_SEED") != nullptr;
    const std::uint64_t target = replay ? 1 : env_number("BOUNZO_SOAK_GAMES", 200);
    std::uint64_t seed = replay ? env_number("BOUNZO_SOAK_SEED", 0) : env_number("BOUNZO_SOAK_FIRST_SEED", 1);

    const auto start = std::chrono::steady_clock::now();
    std::uint64_t games = 0, sessions = 0, pumps = 0, prompt_games = 0, stopped = 0, clicks = 0, plays = 0;
    int deepest = 0;
    int failures = 0;
    while (games < target && failures < 5) {
        const soak::SessionResult r = soak::run_session(seed);
        games += static_cast<std::uint64_t>(r.games);
        pumps += r.pumps;
        prompt_games += static_cast<std::uint64_t>(r.prompt_games);
        stopped += static_cast<std::uint64_t>(r.stopped_at_deadline);
        clicks += static_cast<std::uint64_t>(r.racket_clicks);
        plays += static_cast<std::uint64_t>(r.play_clicks);
        deepest = std::max(deepest, r.deepest_nesting);
        ++sessions;
        if (!r.failure.empty()) {
            ++failures;
            ADD_FAILURE() << r.failure << "\n  replay: BOUNZO_SOAK_SEED=" << seed << " "
                          << testing::internal::GetArgvs().front();
        }
        ++seed;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "soaked " << games << " games in " << sessions << " sessions (" << pumps << " pumps) in "
              << seconds << " s; " << prompt_games << " from the delay prompt, " << clicks
              << " nested racket clicks and " << plays
              << " nested games from the prompt (up to " << deepest << " rallies at once), " << stopped
              << " stopped by the turn limit\n";
    EXPECT_GE(games, target);
}

}  // namespace
