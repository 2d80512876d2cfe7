// Start-up time: from the creation of the game's process to the moment the
// court has been painted with the welcome form painted over it, which is the
// first picture the player gets. Runs the game several times as a child:
//   bounzo_bench_startup [RUNS]
//
// The child is the game's own start (the same steps as the program's main)
// in an application object that notes paint events of the two form windows.
// Painting happens inside the handling of a window-system event (expose or
// update request); when the outermost event handling in which both windows
// have had their first paint returns, the pictures have been handed to the X
// server, and the child reports the time. The parent notes the time just
// before it creates the process; both read the same monotonic clock.
#include "bench/child_process.h"
#include "bench/stats.h"
#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_runtime.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t now_ns() { return Clock::now().time_since_epoch().count(); }

class StartupApplication : public QApplication {
public:
    using QApplication::QApplication;

    const QWidget* court_window = nullptr;
    std::function<void()> on_first_picture;

    bool notify(QObject* receiver, QEvent* event) override {
        ++depth_;
        if (event->type() == QEvent::Paint && !reported_) note_paint(receiver);
        const bool result = QApplication::notify(receiver, event);
        --depth_;
        if (depth_ == 0 && court_painted_ && welcome_painted_ && !reported_) {
            reported_ = true;
            std::printf("court %lld\npainted %lld\n", static_cast<long long>(court_painted_ns_),
                        static_cast<long long>(now_ns()));
            std::fflush(stdout);
            if (on_first_picture) on_first_picture();
        }
        return result;
    }

private:
    void note_paint(QObject* receiver) {
        auto* window = dynamic_cast<toolkit::qt::FormWindow*>(receiver);
        if (!window || !court_window) return;
        if (window == court_window) {
            if (!court_painted_) court_painted_ns_ = now_ns();
            court_painted_ = true;
        } else {
            welcome_painted_ = true;  // the only other form window is the welcome form's
        }
    }

    int depth_ = 0;
    bool court_painted_ = false, welcome_painted_ = false, reported_ = false;
    std::int64_t court_painted_ns_ = 0;
};

int run_game_until_first_picture(int argc, char** argv) {
    StartupApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(QIcon(toolkit::qt::load_picture(":/art/icons/bounzo-256.png")));
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    app.court_window = runtime.window_of(program.court());
    // Leaves as the exit button would, once the picture is there.
    app.on_first_picture = [&] { QTimer::singleShot(0, [&] { program.leave(); }); };
    program.start();
    return runtime.run();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return run_game_until_first_picture(argc, argv);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::vector<double> to_picture_ms, to_court_ms;
    int failed = 0;
    // One run first that is not counted: it brings the libraries into the page cache.
    for (int i = 0; i <= runs; ++i) {
        const bench::ChildRun run = bench::run_self({"--child"}, std::chrono::seconds(10));
        const double painted = bench::value_after(run.output, "painted");
        const double court = bench::value_after(run.output, "court");
        if (!run.started || run.timed_out || painted < 0) {
            ++failed;
            continue;
        }
        if (i == 0) continue;
        const double spawned = static_cast<double>(run.spawned.time_since_epoch().count());
        to_picture_ms.push_back((painted - spawned) / 1e6);
        to_court_ms.push_back((court - spawned) / 1e6);
    }
    bench::print_figure("startup.picture", bench::summarize(to_picture_ms), bench::Spread::range);
    bench::print_figure("startup.court", bench::summarize(to_court_ms), bench::Spread::range);
    if (failed) bench::print_note("startup.picture", std::to_string(failed) + " runs showed no picture within 10 s");
    return 0;
}
