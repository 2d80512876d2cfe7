#pragma once

// A random player on the real Qt windows of one run of the program. Every
// few milliseconds a timer inside whichever event loop is running (the main
// one, a modal box's, or a rally's pumping) looks at what is on screen and
// sends real input through the window system layer: clicks on the welcome
// buttons, answers good and bad at the delay prompt, pointer moves and clicks
// on the court, end-of-game messages closed in every way. When its time is up
// it makes its way back to the welcome window and leaves by "ВЫЙТИ" or by
// closing a window. What it finds wrong it reports through `fail`.

#include "forms/program.h"
#include "toolkit/qt/qt_runtime.h"

#include <QObject>
#include <QPoint>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

class QDialog;
class QMessageBox;
class QWidget;

namespace qt_soak {

using Clock = std::chrono::steady_clock;

// What the players did, summed over the sessions of a run.
struct Tally {
    std::uint64_t sessions = 0;
    std::uint64_t play_clicks = 0;        // "ИГРАТЬ" clicked or pressed
    std::uint64_t games_from_prompt = 0;  // accepted delays: rallies started by the prompt
    std::uint64_t bad_answers = 0;        // out of range or no number, each followed by the prompt again
    std::uint64_t cancels = 0;            // the prompt cancelled or closed, each followed by the prompt again
    std::uint64_t messages_closed = 0;    // end-of-game messages, in every way they close
    std::uint64_t racket_clicks = 0;      // each starts a rally, nested when one runs
    std::uint64_t wall_clicks = 0;
    std::uint64_t other_clicks = 0;       // ball, opponent, goal bar, labels, free surface, other buttons
    std::uint64_t moves = 0;              // pointer moves over any window
    std::uint64_t keys = 0;               // Tab and Space on the game's windows
    std::uint64_t exits_by_button = 0;
    std::uint64_t exits_by_closing = 0;
    int deepest_nesting = 0;              // actions running inside one another at once, at most
};

// What the player last did and when, read by a watchdog on another thread.
struct Heartbeat {
    std::atomic<std::int64_t> last_look_ns{0};  // steady clock, at the last look at the screen
    std::atomic<const char*> doing{"starting"};

    void beat(const char* what) {
        last_look_ns = Clock::now().time_since_epoch().count();
        doing = what;
    }
};

class Player : public QObject {
public:
    using Failure = std::function<void(const std::string&)>;

    // Plays for `play_for`, then leaves the program.
    Player(toolkit::qt::QtRuntime& runtime, forms::Program& program, std::mt19937_64& random,
           Clock::duration play_for, Tally& tally, Heartbeat& heartbeat, Failure fail);

    // Starts playing from the event loop, once it runs.
    void begin();
    // When the last way of leaving was tried; the program should end at once.
    Clock::time_point left_at() const { return left_at_; }

private:
    // What the next look at the screen has to find after an answer or a stop.
    enum class Expect { nothing, prompt_again, rally, welcome };

    void schedule_tick();
    void tick();
    void act();
    void check_expectation(QWidget* modal, bool welcome_shown);

    void at_prompt(QDialog& prompt);
    void at_message(QDialog& message);
    void at_error_box(QMessageBox& box);
    void at_welcome();
    void in_rally();
    void leave();
    void leave_over_a_box();

    // Input through the window system, as a player gives it.
    void click(QWidget& window, QPoint at, Qt::MouseButton button = Qt::LeftButton);
    void move(QWidget& window, QPoint at);
    void key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(QWidget& window, const QString& text);
    void close_window(QWidget& window);

    std::optional<QPoint> point_on(const QWidget& window, const QWidget& control);
    void click_control(QWidget& window, const QWidget& control, Qt::MouseButton button = Qt::LeftButton);
    void move_over_free_surface(QWidget& window);
    void random_court_input(QWidget& court);
    void press_space_unless_on(QWidget& window, const QWidget* unwanted);

    QWidget* court_window() const;
    QWidget* welcome_window() const;
    QWidget* widget_of(const toolkit::Form& form, const toolkit::Control& control) const;

    int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    bool may_nest() const { return nesting_ < kMaxNesting && !leaving(); }
    bool leaving() const { return Clock::now() >= leave_from_; }

    // Actions that open a box or start a rally run inside one another up to this depth.
    static constexpr int kMaxNesting = 12;

    toolkit::qt::QtRuntime& runtime_;
    forms::Program& program_;
    std::mt19937_64& random_;
    Tally& tally_;
    Heartbeat& heartbeat_;
    Failure fail_;
    Clock::time_point leave_from_;
    Clock::time_point left_at_{};
    Clock::time_point stop_rally_at_{};
    Expect expect_ = Expect::nothing;
    Clock::time_point expect_since_{};
    std::string last_answer_;  // the last text confirmed at the prompt, for the report
    int nesting_ = 0;
    // Set while an action gives input that cannot start a rally or open a box:
    // a look that falls due meanwhile (Qt delivers timers inside the input)
    // waits for its turn instead of interleaving with it.
    bool busy_ = false;
};

}  // namespace qt_soak
