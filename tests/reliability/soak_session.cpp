#include "soak_session.h"

#include "engine/court_rules.h"
#include "forms/program.h"
#include "tests/forms/delay_answers.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

namespace soak {
namespace {

// A game started from the delay prompt runs thousands of pumps per turn, so
// it is stopped by a wall click within this many turns.
constexpr int kPromptGameTurns = 3;
// A game started by a racket click runs a few pumps per turn and may play
// out to its win or loss; a wall click stops it after this many turns.
constexpr int kRacketGameTurns = 20000;
// Racket clicks per game, and how deep their rallies nest at most.
constexpr int kMaxClicksPerGame = 10;
constexpr int kMaxNesting = 6;

// The answers the prompt refuses, megabytes long ones too.
const std::vector<delay_answers::Answer> kRefused = delay_answers::rows(false);

class Session {
public:
    explicit Session(std::uint64_t seed) : seed_(seed), random_(seed), program_(rt_) {
        rt_.set_recording(false);
        clock_ = static_cast<double>(seed % 86400) + 0.25;
        rt_.set_timer(static_cast<float>(clock_));
        rt_.on_every_pump([this] { on_pump(); });
    }

    SessionResult run() {
        program_.start();
        forms::frm_court& court = program_.court();
        forms::frm_hello& hello = program_.hello();
        const int games = 1 + pick(3);
        for (int g = 0; g < games && result_.failure.empty(); ++g) {
            game_ = g + 1;
            // A wall click between two games has no effect on the next one.
            if (chance(0.2)) rt_.click(court, court.b_wall);
            const bool last = g + 1 == games;
            play_game(last && chance(0.1));
        }
        if (result_.failure.empty() && !rt_.ending()) {
            rt_.click(hello, hello.CommandButton2);
            if (!rt_.ending()) fail("the exit button did not end the program");
        }
        check_no_errors();
        result_.pumps = rt_.pumps();
        return result_;
    }

private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(random_); }

    // One game from the welcome state; with `leave_midway` the player leaves
    // the program by the exit button while the rally runs.
    void play_game(bool leave_midway) {
        forms::frm_court& court = program_.court();
        std::vector<std::string> answers;
        for (int i = pick(4); i > 0; --i) answers.push_back(delay_answers::draw(random_, kRefused).text);
        const bool from_prompt = chance(0.06) && !leave_midway;
        delay_answers::Answer good{};
        if (from_prompt) {
            good = delay_answers::random_taken(random_);
            answers.push_back(good.text);
        } else {
            answers.clear();
        }
        // Every rally that ends in a win or a loss shows one message, and
        // "ИГРАТЬ" clicked during a rally asks for a delay: answers that the
        // prompt accepts serve both, since a message ignores its answer.
        for (int i = 0; i < kMaxClicksPerGame + 2; ++i) answers.push_back(delay_answers::random_taken(random_).text);
        rt_.script_answers(answers);

        in_game_ = true;
        pumps_in_game_ = 0;
        clicks_ = 0;
        nesting_ = 0;
        prompt_running_ = from_prompt;
        wall_forced_ = false;
        leave_at_ = 0;
        expected_delay_ = from_prompt ? good.delay_game : -1;
        if (from_prompt) {
            deadline_ = static_cast<std::uint64_t>(good.delay_game) * (1 + pick(kPromptGameTurns));
            ++result_.prompt_games;
            rt_.click(program_.hello(), program_.hello().CommandButton1);
        } else {
            // Pumps per turn are kept small so that thousands of whole games
            // fit in seconds; the racket click falls back to delay_ini.
            const double delays[] = {1, 1, 1, 1.5, 2, 3};
            court.delay_ini = delays[pick(6)];
            court.Delay_game = court.delay_ini;
            // Most games may play out; some are stopped early at a random turn.
            const int turns = chance(0.7) ? kRacketGameTurns : 1 + pick(kRacketGameTurns);
            deadline_ = static_cast<std::uint64_t>(court.delay_ini.value()) * static_cast<std::uint64_t>(turns);
            leave_at_ = leave_midway ? 1 + random_() % deadline_ : 0;
            rt_.click(court, court.b_racket);
        }
        in_game_ = false;
        ++result_.games;
        if (!result_.failure.empty()) return;

        if (rt_.ending()) {
            if (!left_midway_) fail("the program ended during a game");
            return;
        }
        if (pumps_in_game_ == 0) fail("a game ran without a single pump");
        if (!court.quit_game) fail("a game returned with quit_game still false");
        check_no_errors();
    }

    void on_pump() {
        if (!in_game_ || !result_.failure.empty()) return;
        ++pumps_in_game_;
        clock_ += 0.0001;
        if (clock_ >= 86400) clock_ -= 86400;
        rt_.set_timer(static_cast<float>(clock_));

        check_court();
        if (!result_.failure.empty()) return;

        forms::frm_court& court = program_.court();
        const std::uint64_t per_turn = static_cast<std::uint64_t>(std::max(1.0, court.Delay_game.value()));
        if (wall_forced_) {
            // After the wall click every loop leaves within its current turn.
            if (pumps_in_game_ > deadline_ + per_turn * (kMaxNesting + 2) + 1000)
                fail("the rally still runs long after the wall click");
            return;
        }
        if (pumps_in_game_ >= deadline_) {
            wall_forced_ = true;
            ++result_.stopped_at_deadline;
            rt_.click(court, court.b_wall);
            return;
        }
        if (leave_at_ != 0 && pumps_in_game_ == leave_at_) {
            // The welcome form stays over a rally that a racket click started.
            rt_.click(program_.hello(), program_.hello().CommandButton2);
            left_midway_ = true;
            if (!rt_.ending()) fail("the exit button during a rally did not end the program");
            return;
        }

        if (chance(0.12)) {
            // Half the time the player follows the ball, otherwise anywhere,
            // outside the field too: the racket is not clamped.
            const double x = chance(0.5) ? court.I_ball.left() + uniform(-30, 50) : uniform(-80, 520);
            rt_.move_mouse(court, static_cast<float>(x), static_cast<float>(uniform(0, 420)));
            // The move pumps once more, and that pump may have met the turn limit.
            if (wall_forced_ || !result_.failure.empty() || rt_.ending()) return;
        }
        // The welcome form stays shown over a rally that a racket click
        // started, and its "ИГРАТЬ" then starts a game inside that rally.
        if (!prompt_running_ && clicks_ < kMaxClicksPerGame && nesting_ < kMaxNesting && chance(1.0 / 40000)) {
            ++clicks_;
            ++nesting_;
            ++result_.play_clicks;
            result_.deepest_nesting = std::max(result_.deepest_nesting, nesting_ + 1);
            prompt_running_ = true;
            rt_.click(program_.hello(), program_.hello().CommandButton1);
            prompt_running_ = false;
            --nesting_;
            // The nested game may have met the turn limit: nothing more then.
            if (wall_forced_) return;
        }
        if (clicks_ < kMaxClicksPerGame && nesting_ < kMaxNesting && chance(1.0 / 6000)) {
            ++clicks_;
            ++nesting_;
            ++result_.racket_clicks;
            result_.deepest_nesting = std::max(result_.deepest_nesting, nesting_ + 1);
            rt_.click(court, court.b_racket);
            --nesting_;
            if (wall_forced_) return;
        }
        if (chance(1.0 / 40000)) rt_.click(court, court.b_wall);
    }

    // The rules that hold at every pump of a game: it runs only after a reset.
    void check_court() {
        forms::frm_court& court = program_.court();
        if (pumps_in_game_ == 1 && expected_delay_ >= 0 &&
            (court.Delay_game.value() != expected_delay_ || court.delay_ini.value() != expected_delay_)) {
            std::ostringstream m;
            m << "accepted delay gives Delay_game " << court.Delay_game.value() << ", delay_ini "
              << court.delay_ini.value() << ", expected " << expected_delay_;
            return fail(m.str());
        }
        const float wall = court.b_wall.height(), goal = court.b_goal.height();
        if (!bar_height_ok(wall)) return fail("wall bar height " + text(wall));
        if (!bar_height_ok(goal)) return fail("goal bar height " + text(goal));
        constexpr float kGoalBottom = engine::kGoalTopAfterReset + engine::kBarHeightAfterReset;
        if (court.b_goal.top() + goal != kGoalBottom)
            return fail("goal bar's bottom at " + text(court.b_goal.top() + goal) + ", not " + text(kGoalBottom));
        int player = 0, opponent = 0;
        if (!score_of(court.b_racket.caption(), player) || !score_of(court.b_rack_opp.caption(), opponent)) return;
        // Each point wears its bar down by exactly one.
        if (player != 15 - static_cast<int>(wall))
            return fail("player's score " + std::to_string(player) + " with the wall bar " + text(wall) + " high");
        if (opponent != 15 - static_cast<int>(goal))
            return fail("opponent's score " + std::to_string(opponent) + " with the goal bar " + text(goal) +
                        " high");
        const double W = court.width_twips() / engine::kTwipsPerFieldPoint;
        const double H = court.height_twips() / engine::kTwipsPerFieldPoint;
        const float bx = court.I_ball.left(), by = court.I_ball.top();
        if (!(bx > -60 && bx < W + 60 && by > -60 && by < H + 60))
            return fail("ball at (" + text(bx) + ", " + text(by) + "), off the court");
        check_no_errors();
    }

    static bool bar_height_ok(float h) { return h >= 1 && h <= 15 && h == std::floor(h); }

    // A score caption reads "0" after a reset, " N" after N points.
    bool score_of(const std::string& caption, int& score) {
        if (caption == cached_caption_[0]) return (score = cached_score_[0]), true;
        if (caption == cached_caption_[1]) return (score = cached_score_[1]), true;
        try {
            score = toolkit::text_to_int16(caption);
        } catch (const toolkit::RunTimeError&) {
            fail("caption \"" + caption + "\" is no whole number");
            return false;
        }
        if (!(caption == "0" || (score >= 1 && caption == toolkit::number_to_text(score)))) {
            fail("caption \"" + caption + "\" is not a score");
            return false;
        }
        cached_caption_[cache_next_] = caption;
        cached_score_[cache_next_] = score;
        cache_next_ ^= 1;
        return true;
    }

    void check_no_errors() {
        if (!rt_.calls().empty()) fail("unhandled run-time error: " + rt_.calls().front());
    }

    void fail(const std::string& what) {
        if (!result_.failure.empty()) return;
        std::ostringstream m;
        m << "seed " << seed_ << ", game " << game_ << ", pump " << pumps_in_game_ << ": " << what;
        result_.failure = m.str();
        // Unwinds every running rally, nested or not, so the session stops here.
        rt_.end_program();
    }

    static std::string text(double v) {
        std::ostringstream s;
        s << v;
        return s.str();
    }

    std::uint64_t seed_;
    std::mt19937_64 random_;
    toolkit::ScriptedRuntime rt_;  // outlives the forms
    forms::Program program_;
    SessionResult result_;
    double clock_ = 0;

    int game_ = 0;
    bool in_game_ = false;
    std::uint64_t pumps_in_game_ = 0, deadline_ = 0, leave_at_ = 0;
    double expected_delay_ = -1;
    int clicks_ = 0, nesting_ = 0;
    bool wall_forced_ = false, left_midway_ = false;
    bool prompt_running_ = false;  // a game from the delay prompt runs, with the welcome form hidden
    std::string cached_caption_[2] = {"0", "0"};
    int cached_score_[2] = {0, 0};
    int cache_next_ = 0;
};

}  // namespace

SessionResult run_session(std::uint64_t seed) { return Session(seed).run(); }

}  // namespace soak
