// Cost of one turn of the rally loop itself: the engine's court on the
// headless backend, with Delay_game empty so no turn pumps, and recording off.
// Each iteration plays a whole game; the figure is CPU time per turn.
#include "bench/stats.h"
#include "engine/court.h"
#include "forms/court_layout.h"
#include "toolkit/scripted/scripted_runtime.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

// Counts the turns: every turn writes the ball's Left once, and so does the
// reset that ends a won or lost game. It takes the place of the backend's
// observer on the ball only; a call per write, as that one costs.
//
// It also moves the clock on by a hundredth of a second a turn. The loop
// reseeds the random numbers from the clock at every approach of the ball;
// with a clock that stands still the opponent makes the same choice every
// time, and some games settle into a rally that never scores.
class TurnCounter : public toolkit::ControlObserver {
public:
    explicit TurnCounter(toolkit::ScriptedRuntime& runtime) : runtime_(runtime) {}

    void start_game(float seconds) {
        lefts = 0;
        clock_ = seconds;
        runtime_.set_timer(clock_);
    }

    void property_changed(const toolkit::Control&, Property property) override {
        if (property != Property::left) return;
        ++lefts;
        clock_ += 0.01f;
        runtime_.set_timer(clock_);
    }

    std::uint64_t lefts = 0;

private:
    toolkit::ScriptedRuntime& runtime_;
    float clock_ = 0;
};

void whole_game_without_pumping(benchmark::State& state) {
    toolkit::ScriptedRuntime runtime;
    runtime.set_recording(false);
    engine::Court court(runtime, forms::court_design());
    runtime.load(court);
    TurnCounter counter(runtime);
    court.I_ball.set_observer(&counter);

    std::uint64_t turns = 0, games = 0;
    for (auto _ : state) {
        runtime.script_answers({"Yes"});  // the end-of-game message
        court.start_settings();
        // Every game from another time of day.
        counter.start_game(static_cast<float>(games % 3600));
        court.move_ball();
        turns += counter.lefts - 1;
        ++games;
    }
    state.counters["turn"] =
        benchmark::Counter(static_cast<double>(turns), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["turns_per_game"] = static_cast<double>(turns) / static_cast<double>(games);
}
BENCHMARK(whole_game_without_pumping)->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(7);

// Keeps each repetition's seconds per turn for the summary line.
class TurnReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const auto turn = run.counters.find("turn");
            const auto per_game = run.counters.find("turns_per_game");
            if (turn != run.counters.end()) ns_per_turn.push_back(turn->second.value * 1e9);
            if (per_game != run.counters.end()) turns_per_game.push_back(per_game->second.value);
        }
    }
    std::vector<double> ns_per_turn, turns_per_game;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TurnReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bench::print_figure("engine.turn", bench::summarize(reporter.ns_per_turn), bench::Spread::range);
    const bench::Summary per_game = bench::summarize(reporter.turns_per_game);
    bench::print_note("engine.turn", "about " + std::to_string(static_cast<long>(per_game.median)) +
                                         " turns a game, whole games of the headless court");
    benchmark::Shutdown();
    return 0;
}
