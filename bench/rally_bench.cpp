// Times the rally loop on the real Qt backend in a real X server: the turn
// period at the delays 10, 50 and 100 against its target, the share of one
// core the game's process takes during each of those rallies, and, in paced
// mode, how fast a real pointer move reaches the racket and the screen:
//   bounzo_bench_rally paced|plain [--latency SAMPLES]
// Plain pumping (the event queue at every pump) runs one rally at delay 50,
// for comparison.
//
// How a turn is timed. Every turn of the loop begins by writing the ball's
// Left, by at least one point, which is more than one pixel; the court window
// mirrors the write into the ball widget's geometry at once, and a visible
// widget that moves is sent its move event right there, inside the write. An
// event filter on the ball widget thus sees the start of every turn without
// touching the engine or the control's one observer slot, which belongs to
// the window. The ball's Top write moves the widget too, but only vertically,
// so a move that changes x marks a turn.
//
// How a repaint is timed. A window's pieces are painted and handed to the X
// server while the window handles its update request; the probe notes the end
// of the first such handling after the racket moved.
//
// A rally here must not end by itself: at the start of every turn the filter
// gives both bars their full height back (one turn takes at most one point
// off a bar), and a wall click, the player's own way to stop a rally, ends it
// once enough turns are measured.
#include "bench/pointer_mover.h"
#include "bench/stats.h"
#include "engine/court_rules.h"
#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/qt_runtime.h"
#include "toolkit/qt/session_bus.h"
#include "toolkit/qt/x_pixels.h"
#include "toolkit/units.h"

#include <QApplication>
#include <QMoveEvent>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using toolkit::qt::QtRuntime;

double ms_between(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// CPU time of the whole process, all threads (Qt's X connection has its own).
double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

// The start of a rally that is not counted: the first turns run while the
// windows settle and the pacer takes up the time, or makes up for a slow
// first paint.
constexpr int kWarmUpTurns = 3;
constexpr std::chrono::milliseconds kWarmUp{250};
constexpr int kMinPeriods = 8;
// A rally's CPU share is also taken in windows of this length, to show
// phases that cost more than the rest.
constexpr std::chrono::seconds kPhaseWindow{2};

// Where the pointer is moved for the latency samples, in court points: two
// spots on the form's own surface below the racket's bottom edge (384.8) and
// above the goal bar (394), so the racket jumps between them at every move.
constexpr float kPointerY = 389.0f;
constexpr float kPointerX[2] = {150.0f, 280.0f};

struct RallyPlan {
    std::string key;
    double delay_answer = 50;  // the answer to the delay prompt; Delay_game is kPumpsPerDelayUnit times it
    double seconds = 1;        // rally time to measure
    bool latency = false;      // move the pointer during this rally
};

// Real pointer moves from a thread of their own, at random moments, so they
// fall anywhere in the pacer's rhythm of waiting and racing.
class PointerThread {
public:
    void start(int samples, QPoint first, QPoint second) {
        thread_ = std::thread([this, samples, first, second] { run(samples, first, second); });
    }
    void join() {
        if (thread_.joinable()) thread_.join();
    }

    std::atomic<bool> ok{true};
    std::atomic<bool> done{false};
    std::atomic<int> sent{0};                 // number of the last move sent
    std::atomic<std::int64_t> sent_at_ns{0};  // when it was sent, steady clock
    std::atomic<int> seen{0};                 // number of the last move the racket followed
    std::atomic<int> lost{0};                 // moves the racket never followed

private:
    void run(int samples, QPoint first, QPoint second) {
        bench::PointerMover mover;
        if (!mover.ok()) {
            ok = false;
            done = true;
            return;
        }
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> pause_us(15000, 35000);
        for (int i = 1; i <= samples; ++i) {
            std::this_thread::sleep_for(std::chrono::microseconds(pause_us(random)));
            if (i > 1 && seen.load() != i - 1) ++lost;
            const QPoint to = (i % 2) ? first : second;
            sent_at_ns = Clock::now().time_since_epoch().count();
            sent = i;
            mover.move_to(to.x(), to.y());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        if (seen.load() != samples) ++lost;
        done = true;
    }

    std::thread thread_;
};

// Tells, after the fact, that an event was handled and when its handling
// began: a window's repaint is done when its update request has been handled.
class BenchApplication : public QApplication {
public:
    using QApplication::QApplication;
    std::function<void(QObject*, QEvent::Type, Clock::time_point)> handled;

    bool notify(QObject* receiver, QEvent* event) override {
        const QEvent::Type type = event->type();
        const Clock::time_point began = Clock::now();
        const bool result = QApplication::notify(receiver, event);
        if (handled) handled(receiver, type, began);
        return result;
    }
};

class RallyProbe : public QObject {
public:
    RallyProbe(forms::frm_court& court, toolkit::qt::FormWindow& window)
        : court_(court),
          window_(window),
          ball_(window.widget_of(court.I_ball)),
          racket_(window.widget_of(court.b_racket)) {
        ball_->installEventFilter(this);
        racket_->installEventFilter(this);
    }

    void begin(const RallyPlan& plan, PointerThread* pointer) {
        plan_ = plan;
        pointer_ = pointer;
        turns_ = 0;
        measuring_ = false;
        periods_.clear();
        repaint_ms.clear();
        window_shares.clear();
        window_repaint_ms.clear();
        started_ = Clock::now();
        awaiting_paint_ = false;
    }

    // Turn periods in milliseconds, after the warm-up.
    const std::vector<double>& periods() const { return periods_; }
    // The long-run pace: measured rally time over the turns in it.
    double mean_period_ms() const {
        return periods_.empty() ? 0 : ms_between(measuring_since_, last_turn_) / static_cast<double>(periods_.size());
    }
    // The process's share of one core over the measured turns, in per cent.
    double cpu_share() const {
        const double wall = ms_between(measuring_since_, last_turn_) / 1000;
        return wall > 0 ? 100.0 * (last_turn_cpu_ - measuring_cpu_) / wall : 0;
    }
    // The share of one core in each whole phase window, in per cent, and the
    // median court repaint in it, in milliseconds.
    std::vector<double> window_shares, window_repaint_ms;
    std::vector<double> to_left_ms, to_repaint_ms;
    // How long each repaint of the court took during the measured turns.
    std::vector<double> repaint_ms;

    void event_handled(QObject* receiver, QEvent::Type type, Clock::time_point began) {
        if (type != QEvent::UpdateRequest || receiver != &window_) return;
        const Clock::time_point now = Clock::now();
        if (measuring_) repaint_ms.push_back(ms_between(began, now));
        if (!awaiting_paint_) return;
        awaiting_paint_ = false;
        to_repaint_ms.push_back(ms_between(paint_sent_, now));
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Move) {
            const auto* move = static_cast<QMoveEvent*>(event);
            if (object == ball_ && move->pos().x() != move->oldPos().x()) turn_started();
            if (object == racket_) racket_moved();
        }
        return false;
    }

private:
    void turn_started() {
        const Clock::time_point now = Clock::now();
        const double cpu = cpu_seconds();
        ++turns_;
        if (measuring_) {
            periods_.push_back(ms_between(last_turn_, now));
            if (now - window_since_ >= kPhaseWindow) close_window(now, cpu);
        } else if (turns_ >= kWarmUpTurns && now - started_ >= kWarmUp) {
            measuring_ = true;
            measuring_since_ = window_since_ = now;
            measuring_cpu_ = window_cpu_ = cpu;
            window_repaints_from_ = repaint_ms.size();
        }
        last_turn_ = now;
        last_turn_cpu_ = cpu;
        keep_bars_full();
        if (rally_done(now)) court_.b_wall_Click();
    }

    void close_window(Clock::time_point now, double cpu) {
        window_shares.push_back(100.0 * (cpu - window_cpu_) / (ms_between(window_since_, now) / 1000));
        const std::vector<double> repaints(repaint_ms.begin() + static_cast<std::ptrdiff_t>(window_repaints_from_),
                                           repaint_ms.end());
        window_repaint_ms.push_back(bench::summarize(repaints).median);
        window_since_ = now;
        window_cpu_ = cpu;
        window_repaints_from_ = repaint_ms.size();
    }

    bool rally_done(Clock::time_point now) const {
        // However slow the pumping, a rally gives up after this long.
        if (std::chrono::duration<double>(now - started_).count() > 3 * plan_.seconds + 10) return true;
        if (pointer_) return pointer_->done.load();
        return measuring_ && periods_.size() >= static_cast<std::size_t>(kMinPeriods) &&
               std::chrono::duration<double>(now - measuring_since_).count() >= plan_.seconds;
    }

    void keep_bars_full() {
        if (court_.b_wall.height() != engine::kBarHeightAfterReset)
            court_.b_wall.set_height(engine::kBarHeightAfterReset);
        if (court_.b_goal.height() != engine::kBarHeightAfterReset) {
            court_.b_goal.set_top(engine::kGoalTopAfterReset);
            court_.b_goal.set_height(engine::kBarHeightAfterReset);
        }
    }

    void racket_moved() {
        if (!pointer_) return;
        const Clock::time_point now = Clock::now();
        const int move = pointer_->sent.load();
        if (move == 0 || move == pointer_->seen.load()) return;
        const Clock::time_point sent{Clock::duration(pointer_->sent_at_ns.load())};
        pointer_->seen = move;
        // The first moves bring the pointer into the window; they are not counted.
        if (move <= 2) return;
        to_left_ms.push_back(ms_between(sent, now));
        paint_sent_ = sent;
        awaiting_paint_ = true;
    }

    forms::frm_court& court_;
    toolkit::qt::FormWindow& window_;
    QWidget* ball_;
    QWidget* racket_;

    RallyPlan plan_;
    PointerThread* pointer_ = nullptr;
    int turns_ = 0;
    bool measuring_ = false;
    Clock::time_point started_, measuring_since_, last_turn_, window_since_;
    double measuring_cpu_ = 0, last_turn_cpu_ = 0, window_cpu_ = 0;
    std::size_t window_repaints_from_ = 0;
    std::vector<double> periods_;
    bool awaiting_paint_ = false;
    Clock::time_point paint_sent_;
};

QPoint court_pixel(const QWidget& window, float x_points, float y_points) {
    return window.mapToGlobal(QPoint(static_cast<int>(std::lround(x_points * toolkit::kPixelsPerPoint)),
                                     static_cast<int>(std::lround(y_points * toolkit::kPixelsPerPoint))));
}

// The costliest phase window of a rally against the median one, with every
// window's share and median repaint.
void print_phases(const RallyPlan& plan, const RallyProbe& probe) {
    if (probe.window_shares.size() < 3) {
        bench::print_note(plan.key + ".phases", "fewer than 3 windows measured");
        return;
    }
    const bench::Summary shares = bench::summarize(probe.window_shares);
    std::string windows;
    for (std::size_t i = 0; i < probe.window_shares.size(); ++i)
        windows += (i ? ", " : "") + format("%.1f %% (%.2f ms)", probe.window_shares[i], probe.window_repaint_ms[i]);
    bench::print_value(plan.key + ".phases", shares.median > 0 ? shares.max / shares.median : 0,
                       format("largest of %.0f windows of %.0f s over their median; ",
                              static_cast<double>(shares.n), static_cast<double>(kPhaseWindow.count())) +
                           "share (median repaint) per window: " + windows);
}

// The turn periods of one rally against their target, Delay_game microseconds:
// the median's and the long-run mean's error, and the 99th percentile of how
// far single turns stray; then the share of a core.
void print_turns(const RallyPlan& plan, const RallyProbe& probe) {
    const double target = plan.delay_answer * engine::kPumpsPerDelayUnit / 1000;  // ms
    const bench::Summary periods = bench::summarize(probe.periods());
    if (periods.n == 0) {
        bench::print_note(plan.key, "no turns measured");
        return;
    }
    std::vector<double> strays;
    for (double p : probe.periods()) strays.push_back(std::abs(p - target));
    const std::string spread = format("p10-p90 %.3f-%.3f ms", periods.p10, periods.p90);
    bench::print_value(plan.key + ".median", 100 * (periods.median - target) / target,
                       format("median %.3f ms of %.0f turns", periods.median, static_cast<double>(periods.n)) + ", " +
                           spread);
    bench::print_value(plan.key + ".mean", 100 * (probe.mean_period_ms() - target) / target,
                       format("mean %.4f ms over %.1f s", probe.mean_period_ms(),
                              probe.mean_period_ms() * static_cast<double>(periods.n) / 1000));
    const bench::Summary stray = bench::summarize(strays);
    bench::print_value(plan.key + ".p99", stray.p99, format("largest %.3f ms, median %.3f ms", stray.max, stray.median));
    const bench::Summary repaint = bench::summarize(probe.repaint_ms);
    bench::print_note(plan.key + ".p99", format("a court repaint took %.3f ms (median), %.3f ms (p99), %.3f ms (largest)",
                                                repaint.median, repaint.p99, repaint.max));
    bench::print_value(plan.key + ".cpu", probe.cpu_share(), "the process's CPU time over the measured turns");
    print_phases(plan, probe);
}

}  // namespace

int main(int argc, char** argv) {
    bench::allow_x_threads();
    toolkit::qt::keep_to_the_given_session_bus();
    toolkit::qt::send_pixels_in_requests();
    const bool plain = argc > 1 && std::strcmp(argv[1], "plain") == 0;
    int latency_samples = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--latency") == 0) latency_samples = std::atoi(argv[i + 1]);

    BenchApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QtRuntime runtime(plain ? QtRuntime::Pumping::plain : QtRuntime::Pumping::paced);
    forms::Program program(runtime);
    program.start();

    std::vector<RallyPlan> plans;
    if (plain) {
        plans.push_back({"plain.50", 50, 2.0, false});
    } else {
        plans = {{"turn.10", 10, 3.0, false}, {"turn.50", 50, 16.0, false}, {"turn.100", 100, 5.0, false}};
        if (latency_samples > 0) plans.push_back({"latency", 50, 0, true});
    }

    // The game's own way into a rally, as after an accepted delay prompt:
    // the welcome form goes, the court is reset, and the loop runs.
    QTimer::singleShot(300, [&] {
        forms::frm_court& court = program.court();
        toolkit::qt::FormWindow* window = runtime.window_of(court);
        RallyProbe probe(court, *window);
        app.handled = [&probe](QObject* receiver, QEvent::Type type, Clock::time_point began) {
            probe.event_handled(receiver, type, began);
        };
        runtime.hide(program.hello());
        for (const RallyPlan& plan : plans) {
            PointerThread pointer;
            probe.begin(plan, plan.latency ? &pointer : nullptr);
            if (plan.latency)
                pointer.start(latency_samples + 2, court_pixel(*window, kPointerX[0], kPointerY),
                              court_pixel(*window, kPointerX[1], kPointerY));
            court.Delay_game = plan.delay_answer * engine::kPumpsPerDelayUnit;
            court.delay_ini = court.Delay_game;
            try {
                court.start_settings();
                court.move_ball();
            } catch (const std::exception& error) {
                bench::print_note(plan.key, std::string("rally failed: ") + error.what());
            }
            pointer.join();
            if (!plan.latency) {
                print_turns(plan, probe);
            } else if (!pointer.ok) {
                bench::print_note(plan.key + ".repaint", "no XTest on this display");
            } else {
                bench::print_figure(plan.key + ".left", bench::summarize(probe.to_left_ms), bench::Spread::percentiles);
                bench::print_figure(plan.key + ".repaint", bench::summarize(probe.to_repaint_ms),
                                    bench::Spread::percentiles);
                bench::print_note(plan.key + ".repaint", std::to_string(pointer.lost.load()) + " of " +
                                                             std::to_string(latency_samples + 2) +
                                                             " moves not followed by the racket");
            }
            std::fflush(stdout);
        }
        app.handled = nullptr;
        program.leave();
    });
    return runtime.run();
}
