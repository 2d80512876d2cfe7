// The real program on the Qt backend, started again and again in one
// process and each time played by a seeded random player with real input
// (qt_soak_player.h) until the player leaves. Nothing may crash or hang,
// Qt may report no warning, and every run ends with status 0 at once.
//
//   BOUNZO_QT_SOAK_SECONDS=N  play for about N seconds in all (15 unless set)
//   BOUNZO_QT_SOAK_SEED=S     play the run of seed S (a new seed each time unless set)
//
// The seed replays the player's choices; the timing of the event loops is
// the machine's, so a replay takes the same decisions in the same states.
#include "qt_soak_player.h"

#include "forms/program.h"
#include "toolkit/qt/qt_runtime.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>
#include <gtest/gtest.h>

namespace qt_soak {
namespace {

using namespace std::chrono_literals;

// Qt's warnings, critical and fatal messages as they arrive, from any thread.
std::mutex messages_mutex;
std::vector<std::string> messages;
std::uint64_t run_seed = 0;

bool platform_cannot_help_it(const QString& text) {
    // The offscreen platform leaves two window operations to Qt's stubs,
    // which warn at every call: raise(), which the game calls for each window
    // it shows, and size hints, which Qt passes on whenever a window's
    // minimum or maximum size is set (the fixed-size forms, the dialogs).
    // Neither has a meaning without a screen.
    return QGuiApplication::platformName() == "offscreen" &&
           (text == "This plugin does not support raise()" ||
            text == "This plugin does not support propagateSizeHints()");
}

void record_message(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || platform_cannot_help_it(text)) return;
    std::fprintf(stderr, "Qt message (seed %llu): %s\n", static_cast<unsigned long long>(run_seed),
                 text.toLocal8Bit().constData());
    std::lock_guard lock(messages_mutex);
    messages.push_back(text.toStdString());
}

// Ends the process with a report when the player stops looking at the
// screen for 10 s (the event loops no longer run) or the run overstays.
class Watchdog {
public:
    Watchdog(const Heartbeat& heartbeat, Clock::time_point deadline)
        : heartbeat_(heartbeat), deadline_(deadline), thread_([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, 100ms, [this] { return stop_; })) {
            const auto now = Clock::now();
            const Clock::time_point last_look{Clock::duration(heartbeat_.last_look_ns.load())};
            const char* what = nullptr;
            if (now > deadline_) what = "the run did not end in time";
            else if (last_look != Clock::time_point{} && now - last_look > 10s) what = "no look at the screen for 10 s";
            if (!what) continue;
            std::fprintf(stderr, "WATCHDOG: %s; the player was %s. Replay: BOUNZO_QT_SOAK_SEED=%llu\n", what,
                         heartbeat_.doing.load(), static_cast<unsigned long long>(run_seed));
            std::fflush(stderr);
            std::_Exit(1);
        }
    }

    const Heartbeat& heartbeat_;
    const Clock::time_point deadline_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

double env_number(const char* name, double fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtod(v, nullptr) : fallback;
}

// One run of the program, from its start to its end by the player's leaving.
void run_session(std::mt19937_64& random, Clock::duration play_for, Tally& tally, Heartbeat& heartbeat,
                 const Player::Failure& fail) {
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    Player player(runtime, program, random, play_for, tally, heartbeat, fail);
    program.start();
    player.begin();
    const int status = runtime.run();
    const auto ended = Clock::now();
    ++tally.sessions;
    if (status != 0) fail("the program ended with status " + std::to_string(status));
    if (player.left_at() == Clock::time_point{}) {
        fail("the program ended before the player left it");
    } else if (ended - player.left_at() > 1s) {
        fail("the program ended " + std::to_string(std::chrono::duration<double>(ended - player.left_at()).count()) +
             " s after the player left it");
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) fail("a window stays after the end: " + w->windowTitle().toStdString());
}

TEST(QtSoak, random_real_input_never_breaks_the_program_and_it_always_leaves_cleanly) {
    const double seconds = env_number("BOUNZO_QT_SOAK_SECONDS", 15);
    run_seed = std::getenv("BOUNZO_QT_SOAK_SEED")
                   ? static_cast<std::uint64_t>(env_number("BOUNZO_QT_SOAK_SEED", 0))
                   : static_cast<std::uint64_t>(Clock::now().time_since_epoch().count()) % 1000000007;
    std::printf("qt soak: seed %llu, %.0f s\n", static_cast<unsigned long long>(run_seed), seconds);
    std::mt19937_64 random(run_seed);
    qInstallMessageHandler(record_message);

    Tally tally;
    Heartbeat heartbeat;
    std::map<std::string, int> failures;  // each kind once, with how often it came
    int session = 0;
    const auto fail = [&](const std::string& what) {
        if (failures[what]++ == 0)
            std::fprintf(stderr, "FAULT in run %d (seed %llu): %s\n", session, static_cast<unsigned long long>(run_seed),
                         what.c_str());
    };
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    {
        Watchdog watchdog(heartbeat, end + 30s);
        while (Clock::now() < end && failures.empty()) {
            ++session;
            const Clock::duration remaining = end - Clock::now();
            const Clock::duration play_for = std::min<Clock::duration>(remaining, 1500ms + 500ms * static_cast<int>(random() % 10));
            run_session(random, play_for, tally, heartbeat, fail);
        }
    }
    qInstallMessageHandler(nullptr);
    const double took = std::chrono::duration<double>(Clock::now() - start).count();

    std::printf(
        "qt soak: %llu runs of the program in %.1f s: %llu clicks on ИГРАТЬ, %llu games from the prompt, %llu turned-down "
        "answers, %llu cancels, %llu end-of-game messages closed, %llu racket clicks, %llu wall clicks, %llu other clicks, "
        "%llu keys, %llu moves; left %llu times by ВЫЙТИ and %llu by closing a window; up to %d actions nested\n",
        static_cast<unsigned long long>(tally.sessions), took, static_cast<unsigned long long>(tally.play_clicks),
        static_cast<unsigned long long>(tally.games_from_prompt), static_cast<unsigned long long>(tally.bad_answers),
        static_cast<unsigned long long>(tally.cancels), static_cast<unsigned long long>(tally.messages_closed),
        static_cast<unsigned long long>(tally.racket_clicks), static_cast<unsigned long long>(tally.wall_clicks),
        static_cast<unsigned long long>(tally.other_clicks), static_cast<unsigned long long>(tally.keys),
        static_cast<unsigned long long>(tally.moves), static_cast<unsigned long long>(tally.exits_by_button),
        static_cast<unsigned long long>(tally.exits_by_closing), tally.deepest_nesting);

    const std::string replay = " (replay: BOUNZO_QT_SOAK_SEED=" + std::to_string(run_seed) + ")";
    for (const auto& [what, times] : failures) ADD_FAILURE() << what << ", " << times << " times" << replay;
    std::lock_guard lock(messages_mutex);
    for (const std::string& m : messages) ADD_FAILURE() << "Qt reported: " << m << replay;
    EXPECT_GT(tally.sessions, 0u);
}

}  // namespace
}  // namespace qt_soak
