// Peak resident memory of the game's process over a whole game: start-up,
// both windows, a game played to its end message, the welcome form again.
// Runs the game several times as a child and reads the child's peak resident
// set as the kernel reports it when the child has ended:
//   bounzo_bench_game [RUNS]
//
// The child starts as the program does and then plays as Do_Game would after
// an accepted prompt, at a tenth of the smallest delay (333 pumps a turn) so
// that a whole game takes a second or two. The end-of-game message is closed
// with its OK button, as soon as it is open.
#include "app/window_icon.h"
#include "bench/child_process.h"
#include "bench/stats.h"
#include "engine/court_rules.h"
#include "forms/program.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_runtime.h"
#include "toolkit/qt/session_bus.h"
#include "toolkit/qt/x_pixels.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kPumpsPerTurn = engine::kMinDelay / 10 * engine::kPumpsPerDelayUnit;
// A game that has not ended by then is stopped with a wall click.
constexpr int kGiveUpMs = 60000;

int play_one_game(int argc, char** argv) {
    toolkit::qt::keep_to_the_given_session_bus();
    toolkit::qt::send_pixels_in_requests();
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(toolkit::qt::load_icon(window_icon_pictures()));
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    program.start();

    int messages = 0;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = runtime.open_box()) {
            ++messages;
            box->accept();
        }
    });
    closer.start();
    QTimer::singleShot(kGiveUpMs, [&] { program.court().b_wall_Click(); });

    QTimer::singleShot(300, [&] {
        forms::frm_court& court = program.court();
        court.Delay_game = kPumpsPerTurn;
        court.delay_ini = court.Delay_game;
        runtime.hide(program.hello());
        const Clock::time_point start = Clock::now();
        court.start_settings();
        court.move_ball();
        runtime.show(program.hello(), &court);
        std::printf("seconds %.3f\nmessages %d\n", std::chrono::duration<double>(Clock::now() - start).count(),
                    messages);
        std::fflush(stdout);
        program.leave();
    });
    return runtime.run();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return play_one_game(argc, argv);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<double> peak_mb, game_seconds;
    int unfinished = 0;
    for (int i = 0; i < runs; ++i) {
        const bench::ChildRun run = bench::run_self({"--child"}, std::chrono::milliseconds(kGiveUpMs + 10000));
        const double seconds = bench::value_after(run.output, "seconds");
        if (!run.started || run.timed_out || seconds < 0) {
            ++unfinished;
            continue;
        }
        if (bench::value_after(run.output, "messages") < 1) ++unfinished;  // stopped, not won or lost
        peak_mb.push_back(static_cast<double>(run.usage.ru_maxrss) / 1024.0);
        game_seconds.push_back(seconds);
    }
    bench::print_figure("memory.peak", bench::summarize(peak_mb), bench::Spread::range, 1);
    const bench::Summary games = bench::summarize(game_seconds);
    char text[128];
    std::snprintf(text, sizeof text, "a game lasted %.1f s (median of %zu)", games.median, games.n);
    bench::print_note("memory.peak", text);
    if (unfinished) bench::print_note("memory.peak", std::to_string(unfinished) + " runs did not finish a game");
    return 0;
}
