// The game flow on the real windows, through the event loop as main() runs it:
// the modal boxes as the player sees and answers them, and leaving, which ends
// the event loop at once even from inside nested rallies. Timers play the
// player; they belong to the test, so none outlives it.
#include "forms/program.h"
#include "toolkit/qt/embedded_frame.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/input_dialog.h"
#include "toolkit/qt/qt_runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <gtest/gtest.h>

namespace {

class Session : public testing::Test {
public:
    // With `inside_court`, the welcome form and the boxes are shown inside
    // the court, as on Wayland.
    explicit Session(bool inside_court = false) : runtime(toolkit::qt::QtRuntime::Pumping::paced, inside_court) {

        QObject::connect(&box_watch_, &QTimer::timeout, &context_, [this] { answer_open_box(); });
        box_watch_.start(10);
    }
    // Unloaded windows go away with their deferred deletion.
    ~Session() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Starts the program as main() does and runs its event loop until it ends;
    // one still running after 5 s is ended, and the test fails.
    int run_program() {
        program.start();
        QTimer::singleShot(5000, &context_, [this] {
            timed_out_ = true;
            runtime.end_program();
        });
        const int status = runtime.run();
        EXPECT_FALSE(timed_out_) << "the program did not end by itself";
        return status;
    }
    // Runs `action` from its own timer once `ready` holds, checking every 5 ms.
    // The action may run a whole game: other timers go on firing inside it.
    void when(std::function<bool()> ready, std::function<void()> action) {
        QTimer::singleShot(5, &context_, [=, this] { ready() ? action() : when(ready, action); });
    }
    void after(int ms, std::function<void()> action) { QTimer::singleShot(ms, &context_, action); }

    // A left click on the control's widget, as the mouse gives it.
    void click(const toolkit::Form& form, const toolkit::Control& control) {
        toolkit::qt::FormWindow* w = runtime.window_of(form);
        if (QWidget* widget = w ? w->widget_of(control) : nullptr) QTest::mouseClick(widget, Qt::LeftButton);
        else ADD_FAILURE() << control.name() << " has no widget to click";
    }
    // Asks the form's window to close, as its close button does.
    void close_window(const toolkit::Form& form) {
        if (toolkit::qt::FormWindow* w = runtime.window_of(form)) w->close();
        else ADD_FAILURE() << form.name() << " has no window to close";
    }

    // A key as the keyboard gives it to whatever has the focus at the time:
    // pressed, then held with a repeat every 10 ms (a release before each, as
    // X11 sends them), then let go; each from its own timer, as a press or a
    // release may run a whole game.
    void hold_key(Qt::Key key, int repeats) {
        key_event(key, true, false);
        repeat_key(key, repeats);
    }
    void repeat_key(Qt::Key key, int left) {
        after(10, [=, this] {
            if (left == 0) {
                ++keys_let_go;
                return key_event(key, false, false);
            }
            key_event(key, false, true);
            key_event(key, true, true);
            repeat_key(key, left - 1);
        });
    }
    static void key_event(Qt::Key key, bool press, bool repeat) {
        if (QWidget* focus = QApplication::focusWidget())
            QTest::simulateEvent(focus, press, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "\r", repeat);
    }

    bool welcome_visible() const { return runtime.window_of(hello) && runtime.window_of(hello)->isVisible(); }
    bool windows_gone() const { return !runtime.window_of(court) && !runtime.window_of(hello); }

    toolkit::qt::QtRuntime runtime;
    forms::Program program{runtime};
    // Made before start-up, unshown, so the test can hold them; unloaded,
    // their objects live on with the program.
    forms::frm_court& court = program.court();
    forms::frm_hello& hello = program.hello();

    // Whether boxes are answered at all; if not, they stay open.
    bool answering = true;
    // The text typed over the default answer, then "ОК"; none: "Отмена". With
    // no replies left a box is confirmed as offered.
    std::deque<std::optional<QString>> replies;
    // Each box as the player saw it when it opened: "input_box" for the
    // toolkit's own box, else "message"; title|answer offered|prompt; and
    // whether the welcome form was shown meanwhile.
    std::vector<std::string> boxes;
    int boxes_opened = 0;  // answered or not
    int keys_let_go = 0;   // held keys, by hold_key

private:
    void answer_open_box() {
        auto* dialog = runtime.open_box();
        if (dialog && !dialog->property("counted").toBool()) {
            dialog->setProperty("counted", true);
            ++boxes_opened;
        }
        if (!answering || !dialog || !dialog->isVisible() || dialog->property("answered").toBool()) return;
        dialog->setProperty("answered", true);

        QLineEdit* edit = dialog->findChild<QLineEdit*>();
        auto* label = dialog->findChild<QLabel*>();
        const QString seen = (dynamic_cast<toolkit::qt::InputDialog*>(dialog) ? "input_box " : "message ") +
                             dialog->windowTitle() + "|" + (edit ? edit->text() : QString()) + "|" + (label ? label->text() : QString()) +
                             (welcome_visible() ? " (welcome form shown)" : "");
        boxes.push_back(seen.toStdString());

        std::optional<QString> reply = edit ? edit->text() : QString();
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        }
        if (edit && reply) edit->setText(*reply);
        const QString wanted = QString::fromUtf8(reply ? "ОК" : "Отмена");
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == wanted) return button->click();
        ADD_FAILURE() << boxes.back() << " has no button " << wanted.toStdString();
        dialog->reject();
    }

    bool timed_out_ = false;
    QTimer box_watch_;
    QObject context_;  // last: the test's pending timers go first
};

struct Placement {
    const char* name;
    bool inside_court;
};
void PrintTo(const Placement& p, std::ostream* out) { *out << p.name; }

// Each flow with the welcome form and the boxes as windows of their own, and
// shown inside the court.
class QtGame : public Session, public testing::WithParamInterface<Placement> {
protected:
    QtGame() : Session(GetParam().inside_court) {}
};

// The prompt comes back through Cancel and refused answers while the welcome
// form stays; the won game's message shows in the toolkit's box while the
// welcome form is away, and Cancel there changes nothing.
TEST_P(QtGame, prompt_box_comes_back_offering_50_then_the_end_message_box_then_the_welcome_form_on_a_reset_court) {
    // A byte-order mark typed before "50" makes no number: the prompt asks again.
    replies = {std::nullopt, "100.5", "abc", QString(QChar(0xFEFF)) + "50", "10", std::nullopt};
    // Once the game runs (no box, welcome form away), the next wall hit wins.
    when([this] { return !welcome_visible() && !runtime.open_box(); }, [this] {
        court.b_racket.set_caption(" 9");
        court.b_wall.set_height(1);
    });
    bool welcome_back = false;
    int wall_pixels = 0;
    when([this] { return welcome_visible(); }, [&] {
        click(hello, hello.CommandButton1);  // the whole game runs inside the click
        welcome_back = welcome_visible();
        wall_pixels = runtime.window_of(court)->widget_of(court.b_wall)->height();
        click(hello, hello.CommandButton2);
    });

    EXPECT_EQ(run_program(), 0);

    const std::string prompt =
        "input_box Задержка анимации...|50|Больше задержка — меньше скорость — 10..100:  (welcome form shown)";
    EXPECT_EQ(boxes, (std::vector<std::string>{prompt, prompt, prompt, prompt, prompt, "input_box Yes|Yes|ПОЗДРАВЛЯЮ, ТЫ ВЫИГРАЛ!"}));
    EXPECT_EQ(court.Delay_game.value(), 3330.0);
    EXPECT_TRUE(welcome_back);
    EXPECT_EQ(court.b_racket.caption(), "0");
    EXPECT_EQ(wall_pixels, 20) << "the window does not show the reset wall bar of 15 points";
    EXPECT_TRUE(windows_gone());
}

// While a box is open the player's clicks and moves on the form windows reach
// nothing (the box is not modal to Qt; the runtime keeps them away), and a
// window's close request still ends the program.
TEST_P(QtGame, while_the_prompt_is_open_clicks_and_moves_on_the_forms_reach_nothing_and_closing_a_window_leaves) {
    answering = false;
    const float racket_left = court.b_racket.left();
    QString box_after_clicks;
    when([this] { return welcome_visible(); }, [this] { click(hello, hello.CommandButton1); });
    when([this] { return runtime.open_box() != nullptr; }, [&] {
        QDialog* prompt = runtime.open_box();
        click(hello, hello.CommandButton1);  // a second prompt
        click(hello, hello.CommandButton2);  // leaving
        click(court, court.b_racket);        // a game
        QTest::mouseMove(runtime.window_of(court), QPoint(60, 450));
        after(50, [&, prompt] {
            box_after_clicks = runtime.open_box() == prompt ? prompt->windowTitle() : "another box or none";
            close_window(court);
        });
    });

    EXPECT_EQ(run_program(), 0);

    EXPECT_EQ(box_after_clicks, "Задержка анимации...");
    EXPECT_EQ(court.b_racket.left(), racket_left) << "the racket followed the pointer behind the box";
    EXPECT_EQ(court.b_racket.caption(), "0");
    EXPECT_TRUE(windows_gone());
}

const Placement kPlacements[] = {{"own_windows", false}, {"inside_the_court", true}};
INSTANTIATE_TEST_SUITE_P(Flow, QtGame, testing::ValuesIn(kPlacements),
                         [](const auto& info) { return std::string(info.param.name); });

class QtInsideCourt : public Session {
protected:
    QtInsideCourt() : Session(true) {}
    QWidget* frame_of(const toolkit::Form& form) {
        toolkit::qt::FormWindow* w = runtime.window_of(form);
        return w ? toolkit::qt::EmbeddedFrame::of(*w) : nullptr;
    }
};

// Inside the court the welcome form stands centred, at the same place each
// time, Tab stays on its two buttons, and the close button of its caption
// leaves even while the prompt is open, as the desktop's close button does.
TEST_F(QtInsideCourt, welcome_form_centred_each_time_tab_stays_on_it_and_its_caption_closes_behind_the_prompt) {
    answering = false;
    std::vector<QRect> places;
    std::vector<QWidget*> focus_walk, expected_walk;
    const auto note_place = [&] {
        QWidget* frame = frame_of(hello);
        places.push_back(frame ? frame->geometry() : QRect());
    };
    when([this] { return welcome_visible(); }, [&] {
        note_place();
        QWidget* court_window = runtime.window_of(court);
        QWidget* play = runtime.window_of(hello)->widget_of(hello.CommandButton1);
        expected_walk = {play, runtime.window_of(hello)->widget_of(hello.CommandButton2), play};
        for (int i = 0; i < 3; ++i) {
            QWidget* focus = court_window->focusWidget();
            focus_walk.push_back(focus);
            QTest::keyClick(focus ? focus : court_window, Qt::Key_Tab);
        }
        runtime.hide(hello);
        runtime.show(hello, &court);
        note_place();
        click(hello, hello.CommandButton1);
    });
    when([this] { return runtime.open_box() != nullptr; }, [&] {
        auto* close = frame_of(hello) ? frame_of(hello)->findChild<QToolButton*>() : nullptr;
        if (close) QTest::mouseClick(close, Qt::LeftButton);
        else ADD_FAILURE() << "the welcome form's caption has no close button";
    });

    EXPECT_EQ(run_program(), 0);

    ASSERT_EQ(places.size(), 2u);
    const QPoint court_middle(573 / 2, 554 / 2);
    const QPoint off = places[0].center() - court_middle;
    EXPECT_TRUE(std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1) << "off by " << off.x() << "," << off.y();
    EXPECT_EQ(places[1], places[0]) << "the welcome form moved when it was shown again";
    EXPECT_EQ(focus_walk, expected_walk);
    EXPECT_TRUE(windows_gone());
}

// A key held down presses a button once, on its release: held on ИГРАТЬ it
// opens one prompt, which its repeats do not answer; Enter held on the prompt
// answers it, and its repeats and release press nothing in the court.
class QtHeldKey : public Session, public testing::WithParamInterface<Qt::Key> {
protected:
    QWidget* play_button() const { return runtime.window_of(hello)->widget_of(hello.CommandButton1); }
};

TEST_P(QtHeldKey, on_the_welcome_button_opens_one_prompt_and_enter_held_on_the_prompt_starts_one_game) {
    answering = false;
    int prompts_after_the_hold = 0;
    bool game_running = false;
    double delay_in_the_game = 0;
    // Each key goes down once the window it is meant for has the keyboard.
    when([this] { return welcome_visible() && QApplication::focusWidget() == play_button(); },
         [this] { hold_key(GetParam(), 30); });
    when([this] { return keys_let_go == 1 && runtime.open_box() && runtime.open_box()->isActiveWindow(); }, [&] {
        after(100, [&] {
            prompts_after_the_hold = boxes_opened;
            hold_key(Qt::Key_Return, 30);  // its first press answers the prompt with the offered 50
        });
    });
    when([this] { return keys_let_go == 2; }, [&] {
        after(100, [&] {
            game_running = !welcome_visible() && !runtime.open_box();
            delay_in_the_game = court.Delay_game.value();
            close_window(court);
        });
    });

    EXPECT_EQ(run_program(), 0);

    EXPECT_EQ(prompts_after_the_hold, 1);
    EXPECT_EQ(boxes_opened, 1);
    EXPECT_TRUE(game_running);
    EXPECT_EQ(delay_in_the_game, 16650.0) << "the held key clicked the racket";
}

INSTANTIATE_TEST_SUITE_P(Keys, QtHeldKey, testing::Values(Qt::Key_Space, Qt::Key_Return),
                         [](const auto& info) { return info.param == Qt::Key_Space ? "Space" : "Enter"; });

// Separate presses are separate clicks: two on the focused racket during a
// rally start two games, one inside the other.
TEST_P(QtGame, two_separate_space_presses_on_the_focused_racket_restart_the_game_twice) {
    bool racket_focused = false;  // at each press
    double delay_after = 0;
    when([this] { return welcome_visible(); }, [this] { click(hello, hello.CommandButton1); });
    when([this] { return !welcome_visible() && !runtime.open_box(); }, [&] {
        QWidget* racket = runtime.window_of(court)->widget_of(court.b_racket);
        runtime.window_of(court)->activateWindow();
        racket->setFocus();
        const auto tap = [&, racket] {
            racket_focused = QApplication::focusWidget() == racket;
            key_event(Qt::Key_Space, true, false);
            key_event(Qt::Key_Space, false, false);  // runs the new game
        };
        after(50, tap);
        after(150, tap);
        after(300, [&] {
            delay_after = court.Delay_game.value();
            close_window(court);
        });
    });

    EXPECT_EQ(run_program(), 0);

    EXPECT_TRUE(racket_focused);
    EXPECT_EQ(delay_after, 16650.0 - 2 * 10);
}

struct Exit {
    const char* name;
    void (*leave)(Session&);
};
void PrintTo(const Exit& exit, std::ostream* out) { *out << exit.name; }

class QtLeaving : public Session, public testing::WithParamInterface<Exit> {
protected:
    // Starts a racket game, and from inside it the next one, until `deep`
    // rallies run one inside the other; then leaves from the innermost, and
    // starts the clock on how long the event loop takes to return.
    void racket_rally(int deep) {
        if (++depth < deep) after(40, [this, deep] { racket_rally(deep); });
        else after(40, [this] {
            depth_at_exit = depth;
            since_exit.start();
            GetParam().leave(*this);
        });
        click(court, court.b_racket);  // returns when the rally does
        --depth;
    }

    QElapsedTimer since_exit;
    int depth = 0, depth_at_exit = 0;
};

TEST_P(QtLeaving, from_racket_rallies_nested_four_deep_ends_the_event_loop_at_once_with_no_box) {
    court.Delay_game = 16650.0;
    when([this] { return welcome_visible(); }, [this] { racket_rally(4); });

    EXPECT_EQ(run_program(), 0);

    ASSERT_TRUE(since_exit.isValid()) << "the program was never left";
    EXPECT_LT(since_exit.elapsed(), 1000) << "the event loop took long to return";
    EXPECT_TRUE(windows_gone());
    EXPECT_TRUE(boxes.empty()) << testing::PrintToString(boxes);
    EXPECT_EQ(depth_at_exit, 4) << "a rally ended before the program was left";
    EXPECT_EQ(depth, 0) << "a rally is still running";
}

const Exit kExits[] = {
    {"exit_button", [](Session& s) { s.click(s.hello, s.hello.CommandButton2); }},
    {"court_window_closed", [](Session& s) { s.close_window(s.court); }},
    {"welcome_window_closed", [](Session& s) { s.close_window(s.hello); }},
};
INSTANTIATE_TEST_SUITE_P(Flow, QtLeaving, testing::ValuesIn(kExits), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
