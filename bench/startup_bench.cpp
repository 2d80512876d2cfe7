// Start-up: from the creation of a process to the moment its windows have
// been painted, the first picture the player gets, for the game (the court
// with the welcome form over it) and, beside it, for a minimal Qt Widgets
// programs this benchmark carries itself: one window with two buttons, and
// the game's two windows as the player first sees them, made of plain Qt
// widgets (bench/two_windows.h). The ratios are the figures; the time alone
// depends too much on the machine. Also the CPU time each spends up to then
// and the one-window program's peak resident memory. Runs all three as
// children, taking turns:
//   bounzo_bench_startup [RUNS]
//
// A child notes paint events of the windows it waits for. Painting happens
// inside the handling of a window-system event (expose or update request);
// when the outermost event handling in which every one of them has had its
// first paint returns, the pictures have been handed to the X server, and
// the child reports the time. The parent notes the time just before it
// creates the process; both read the same monotonic clock.
#include "app/window_icon.h"
#include "bench/child_process.h"
#include "bench/stats.h"
#include "bench/two_windows.h"
#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_runtime.h"
#include "toolkit/qt/session_bus.h"
#include "toolkit/qt/x_pixels.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t now_ns() { return Clock::now().time_since_epoch().count(); }

std::int64_t cpu_ns() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

class StartupApplication : public QApplication {
public:
    using QApplication::QApplication;

    // Reports once `count` windows that `counts` picks have been painted, then calls `leave`.
    void await(std::size_t count, std::function<bool(const QObject*)> counts, std::function<void()> leave) {
        count_ = count;
        counts_ = std::move(counts);
        leave_ = std::move(leave);
    }

    bool notify(QObject* receiver, QEvent* event) override {
        ++depth_;
        if (event->type() == QEvent::Paint && counts_ && counts_(receiver)) painted_.insert(receiver);
        const bool result = QApplication::notify(receiver, event);
        --depth_;
        if (depth_ == 0 && leave_ && painted_.size() >= count_) {
            std::printf("painted %lld\ncpu %lld\n", static_cast<long long>(now_ns()),
                        static_cast<long long>(cpu_ns()));
            std::fflush(stdout);
            QTimer::singleShot(0, leave_);
            leave_ = nullptr;
        }
        return result;
    }

private:
    int depth_ = 0;
    std::size_t count_ = 0;
    std::function<bool(const QObject*)> counts_;
    std::set<const QObject*> painted_;
    std::function<void()> leave_;
};

// The same steps as the program's main, up to its event loop.
int run_game(int argc, char** argv) {
    toolkit::qt::keep_to_the_given_session_bus();
    toolkit::qt::send_pixels_in_requests();
    QCoreApplication::setApplicationName("bounzo");
    StartupApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(toolkit::qt::load_icon(window_icon_pictures()));
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    // The welcome form's window is made when the court's activation shows it:
    // the court's and one other form window.
    app.await(
        2, [](const QObject* o) { return dynamic_cast<const toolkit::qt::FormWindow*>(o) != nullptr; },
        [&] { program.leave(); });
    program.start();
    return runtime.run();
}

// What anyone's first Qt Widgets program looks like, in the game's style.
int run_minimal(int argc, char** argv) {
    StartupApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QWidget window;
    window.setWindowTitle("Minimal");
    auto* buttons = new QHBoxLayout(&window);
    buttons->addWidget(new QPushButton("ИГРАТЬ"));
    buttons->addWidget(new QPushButton("ВЫЙТИ"));
    app.await(1, [&window](const QObject* o) { return o == &window; }, [] { QCoreApplication::quit(); });
    window.show();
    return QApplication::exec();
}

// The game's two windows and nothing behind them, with the game's window icon.
int run_two_windows(int argc, char** argv) {
    QCoreApplication::setApplicationName("bounzo");
    StartupApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(toolkit::qt::load_icon(window_icon_pictures()));
    const bench::TwoWindows windows = bench::make_two_windows();
    const QObject* court = windows.court.get();
    const QObject* welcome = windows.welcome;
    app.await(2, [=](const QObject* o) { return o == court || o == welcome; }, [] { QCoreApplication::quit(); });
    windows.court->show();
    windows.welcome->show();
    return QApplication::exec();
}

struct Runs {
    std::vector<double> to_picture_ms, cpu_ms, peak_mb;
    int failed = 0;
};

void run_child(const char* mode, Runs& runs, bool counted) {
    const bench::ChildRun run = bench::run_self({mode}, std::chrono::seconds(10));
    const double painted = bench::value_after(run.output, "painted");
    const double cpu = bench::value_after(run.output, "cpu");
    if (!run.started || run.timed_out || painted < 0) {
        ++runs.failed;
        return;
    }
    if (!counted) return;
    const double spawned = static_cast<double>(run.spawned.time_since_epoch().count());
    runs.to_picture_ms.push_back((painted - spawned) / 1e6);
    runs.cpu_ms.push_back(cpu / 1e6);
    runs.peak_mb.push_back(static_cast<double>(run.usage.ru_maxrss) / 1024.0);
}

std::string text(const char* pattern, double a, double b) {
    char out[160];
    std::snprintf(out, sizeof out, pattern, a, b);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--game") == 0) return run_game(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--minimal") == 0) return run_minimal(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--two-windows") == 0) return run_two_windows(argc, argv);

    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    Runs game, minimal, two;
    // One run of each first that is not counted: it brings the libraries into
    // the page cache. Then they take turns, so both see the same machine.
    for (int i = 0; i <= count; ++i) {
        run_child("--game", game, i > 0);
        run_child("--minimal", minimal, i > 0);
        run_child("--two-windows", two, i > 0);
    }
    const bench::Summary g = bench::summarize(game.to_picture_ms), m = bench::summarize(minimal.to_picture_ms),
                         t = bench::summarize(two.to_picture_ms);
    if (g.n > 0 && m.n > 0)
        bench::print_value("startup.ratio", g.median / m.median,
                           text("game %.0f ms, minimal program %.0f ms (medians)", g.median, m.median));
    if (g.n > 0 && t.n > 0)
        bench::print_value("startup.two.ratio", g.median / t.median,
                           text("game %.0f ms, two-window program %.0f ms (medians)", g.median, t.median));
    bench::print_figure("startup.game", g, bench::Spread::range, 0);
    bench::print_figure("startup.minimal", m, bench::Spread::range, 0);
    bench::print_figure("startup.two", t, bench::Spread::range, 0);
    const bench::Summary gc = bench::summarize(game.cpu_ms), mc = bench::summarize(minimal.cpu_ms),
                         tc = bench::summarize(two.cpu_ms);
    if (gc.n > 0 && mc.n > 0)
        bench::print_value("startup.cpu", gc.median, text("minimal program %.1f ms (medians)", mc.median, 0));
    if (gc.n > 0 && tc.n > 0)
        bench::print_value("startup.two.cpu", tc.median, text("game %.1f ms (medians)", gc.median, 0));
    bench::print_figure("memory.minimal", bench::summarize(minimal.peak_mb), bench::Spread::range, 1);
    if (const int failed = game.failed + minimal.failed + two.failed)
        bench::print_note("startup.ratio", std::to_string(failed) + " runs showed no picture within 10 s");
    return 0;
}
