// Times the rally loop on the real Qt backend in a real X server: the turn
// period at the delays 10, 50 and 100, the share of one core the game's
// process takes during a rally, and, optionally, how fast a real pointer move
// reaches the racket and the screen. One pumping mode per run:
//   bounzo_bench_rally paced|plain [--latency SAMPLES]
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

// Turns at the start of a rally that are not counted: the first one runs
// while the windows settle and the pacer takes up the time.
constexpr int kWarmUpTurns = 3;
constexpr int kMinPeriods = 8;
// The share of a core is taken over windows of this much rally time.
constexpr double kCpuWindowSeconds = 0.5;

// Where the pointer is moved for the latency samples, in court points: two
// spots on the form's own surface below the racket's bottom edge (384.8) and
// above the goal bar (394), so the racket jumps between them at every move.
constexpr float kPointerY = 389.0f;
constexpr float kPointerX[2] = {150.0f, 280.0f};

struct RallyPlan {
    std::string key;
    double delay_answer = 50;  // the answer to the delay prompt; Delay_game is 333 times it
    double seconds = 1;        // rally time to measure
    bool latency = false;      // move the pointer during this rally
};

// Real pointer moves from a thread of their own, at random moments, so they
// fall anywhere in the pacer's rhythm of sleeping and delivering.
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
    std::atomic<int> sent{0};               // number of the last move sent
    std::atomic<std::int64_t> sent_at_ns{0};  // when it was sent, steady clock
    std::atomic<int> seen{0};               // number of the last move the racket followed
    std::atomic<int> lost{0};               // moves the racket never followed

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

class RallyProbe : public QObject {
public:
    RallyProbe(forms::frm_court& court, toolkit::qt::FormWindow& window)
        : court_(court),
          window_(window),
          ball_(window.widget_of(court.I_ball)),
          racket_(window.widget_of(court.b_racket)) {
        ball_->installEventFilter(this);
        racket_->installEventFilter(this);
        window_.installEventFilter(this);
    }

    void begin(const RallyPlan& plan, PointerThread* pointer) {
        plan_ = plan;
        pointer_ = pointer;
        turns_ = 0;
        periods_.clear();
        cpu_shares_.clear();
        started_ = Clock::now();
        awaiting_paint_ = false;
    }

    const std::vector<double>& periods() const { return periods_; }
    // The long-run pace: measured rally time over the turns in it.
    double mean_period_ms() const {
        return periods_.empty() ? 0 : ms_between(measuring_since_, last_turn_) / static_cast<double>(periods_.size());
    }
    const std::vector<double>& cpu_shares() const { return cpu_shares_; }
    std::vector<double> to_left_ms, to_paint_ms;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Move) {
            const auto* move = static_cast<QMoveEvent*>(event);
            if (object == ball_ && move->pos().x() != move->oldPos().x()) turn_started();
            if (object == racket_) racket_moved();
        } else if (event->type() == QEvent::Paint && object == &window_) {
            window_painted();
        }
        return false;
    }

private:
    void turn_started() {
        const Clock::time_point now = Clock::now();
        const double cpu = cpu_seconds();
        ++turns_;
        if (turns_ == kWarmUpTurns) {
            measuring_since_ = now;
            window_start_ = now;
            window_cpu_ = cpu;
        } else if (turns_ > kWarmUpTurns) {
            periods_.push_back(ms_between(last_turn_, now));
            const double window = std::chrono::duration<double>(now - window_start_).count();
            if (window >= kCpuWindowSeconds) {
                cpu_shares_.push_back(100.0 * (cpu - window_cpu_) / window);
                window_start_ = now;
                window_cpu_ = cpu;
            }
        }
        last_turn_ = now;
        keep_bars_full();
        if (rally_done(now)) court_.b_wall_Click();
    }

    bool rally_done(Clock::time_point now) const {
        // However slow the pumping, a rally gives up after this long.
        if (std::chrono::duration<double>(now - started_).count() > 3 * plan_.seconds + 10) return true;
        if (pointer_) return pointer_->done.load();
        return turns_ > kWarmUpTurns && periods_.size() >= static_cast<std::size_t>(kMinPeriods) &&
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

    void window_painted() {
        if (!awaiting_paint_) return;
        awaiting_paint_ = false;
        to_paint_ms.push_back(ms_between(paint_sent_, Clock::now()));
    }

    forms::frm_court& court_;
    toolkit::qt::FormWindow& window_;
    QWidget* ball_;
    QWidget* racket_;

    RallyPlan plan_;
    PointerThread* pointer_ = nullptr;
    int turns_ = 0;
    Clock::time_point started_, measuring_since_, last_turn_, window_start_;
    double window_cpu_ = 0;
    std::vector<double> periods_, cpu_shares_;
    bool awaiting_paint_ = false;
    Clock::time_point paint_sent_;
};

QPoint court_pixel(const QWidget& window, float x_points, float y_points) {
    return window.mapToGlobal(QPoint(static_cast<int>(std::lround(x_points * toolkit::kPixelsPerPoint)),
                                     static_cast<int>(std::lround(y_points * toolkit::kPixelsPerPoint))));
}

}  // namespace

int main(int argc, char** argv) {
    bench::allow_x_threads();
    const bool plain = argc > 1 && std::strcmp(argv[1], "plain") == 0;
    int latency_samples = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--latency") == 0) latency_samples = std::atoi(argv[i + 1]);
    const std::string mode = plain ? "plain" : "paced";

    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QtRuntime runtime(plain ? QtRuntime::Pumping::plain : QtRuntime::Pumping::paced);
    forms::Program program(runtime);
    program.start();

    std::vector<RallyPlan> plans = {
        {"turn." + mode + ".10", 10, 1.0, false},
        {"turn." + mode + ".50", 50, 3.0, false},
        {"turn." + mode + ".100", 100, 2.0, false},
    };
    if (latency_samples > 0) plans.push_back({"latency." + mode, 50, 0, true});

    auto figure = [&](const std::string& key, const std::vector<double>& samples, bench::Spread spread) {
        bench::print_figure(key, bench::summarize(samples), spread);
    };

    // The game's own way into a rally, as after an accepted delay prompt:
    // the welcome form goes, the court is reset, and the loop runs.
    QTimer::singleShot(300, [&] {
        forms::frm_court& court = program.court();
        toolkit::qt::FormWindow* window = runtime.window_of(court);
        RallyProbe probe(court, *window);
        runtime.hide(program.hello());
        for (const RallyPlan& plan : plans) {
            PointerThread pointer;
            probe.begin(plan, plan.latency ? &pointer : nullptr);
            if (plan.latency)
                pointer.start(latency_samples + 2, court_pixel(*window, kPointerX[0], kPointerY),
                              court_pixel(*window, kPointerX[1], kPointerY));
            court.Delay_game = plan.delay_answer * 333;
            court.delay_ini = court.Delay_game;
            const double cpu_before = cpu_seconds();
            const Clock::time_point before = Clock::now();
            try {
                court.start_settings();
                court.move_ball();
            } catch (const std::exception& error) {
                bench::print_note(plan.key, std::string("rally failed: ") + error.what());
            }
            const double wall = std::chrono::duration<double>(Clock::now() - before).count();
            pointer.join();
            if (!plan.latency) {
                figure(plan.key, probe.periods(), bench::Spread::percentiles);
                char mean[64];
                std::snprintf(mean, sizeof mean, "mean %.2f ms", probe.mean_period_ms());
                bench::print_note(plan.key, mean);
                if (plan.delay_answer == 50) {
                    figure("cpu." + mode, probe.cpu_shares(), bench::Spread::range);
                    char text[96];
                    std::snprintf(text, sizeof text, "whole rally %.1f %% of one core over %.1f s",
                                  100.0 * (cpu_seconds() - cpu_before) / wall, wall);
                    bench::print_note("cpu." + mode, text);
                }
            } else if (!pointer.ok) {
                bench::print_note(plan.key + ".left", "no XTest on this display");
            } else {
                figure(plan.key + ".left", probe.to_left_ms, bench::Spread::percentiles);
                figure(plan.key + ".paint", probe.to_paint_ms, bench::Spread::percentiles);
                bench::print_note(plan.key + ".left", std::to_string(pointer.lost.load()) + " of " +
                                                std::to_string(latency_samples + 2) +
                                                " moves not followed by the racket");
            }
            std::fflush(stdout);
        }
        program.leave();
    });
    return runtime.run();
}
