#pragma once

// Whole sessions of the game on the scripted backend, driven by a seeded
// random player: mouse moves anywhere over the court, racket clicks that nest
// new rallies inside the running one, wall clicks at random pumps, games
// started from the delay prompt with good and bad answers. During every pump
// the court is checked; the first broken rule ends the session and is
// reported with the seed that replays it.

#include <cstdint>
#include <string>

namespace soak {

struct SessionResult {
    int games = 0;               // games started from the welcome state
    std::uint64_t pumps = 0;     // event pumps over the whole session
    int prompt_games = 0;        // of them, started from the delay prompt
    int stopped_at_deadline = 0; // games that a wall click had to stop
    int racket_clicks = 0;       // nested rallies started during games by the racket
    int play_clicks = 0;         // ... and by "ИГРАТЬ" over a rally
    int deepest_nesting = 0;     // rally loops running at once, at most
    std::string failure;         // empty when every check held
};

// Runs the session that `seed` scripts, from program start to the exit button.
SessionResult run_session(std::uint64_t seed);

}  // namespace soak
