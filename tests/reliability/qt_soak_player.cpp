#include "qt_soak_player.h"

#include "tests/forms/delay_answers.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/units.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace qt_soak {
namespace {

// The windows as a player tells them apart: by their titles.
const QString kCourtTitle = "Quindle1 - frm_court (Form)";
const QString kWelcomeTitle = "Bounzo команда Bounzo";
const QString kPromptTitle = "Задержка анимации...";
const QString kMessageTitle = "Yes";

// The answers the prompt refuses that a player can type in a moment.
const std::vector<delay_answers::Answer> kRefused = delay_answers::rows(false, 300);

// The characters a player types for an answer's bytes. A leading byte-order
// mark is one of them: Qt's plain UTF-8 conversion would drop it, and the
// player would type "50" for a row the prompt must refuse.
QString characters_of(const std::string& bytes) {
    QStringDecoder decode(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string refused_answer(std::mt19937_64& random) { return delay_answers::draw(random, kRefused).text; }

QWidget* visible_window(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == title) return w;
    return nullptr;
}

QPushButton* button_of(QDialog& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// The middle of a widget in its window's coordinates.
QPoint centre_in(const QWidget& window, const QWidget& widget) { return widget.mapTo(&window, widget.rect().center()); }

// The key a character is typed with; Qt's codes for digits and Latin
// letters are their upper-case character codes.
Qt::Key key_for(QChar c) {
    const QChar upper = c.toUpper();
    if ((upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9')) return static_cast<Qt::Key>(upper.unicode());
    if (c == ' ') return Qt::Key_Space;
    return Qt::Key_unknown;
}

}  // namespace

Player::Player(toolkit::qt::QtRuntime& runtime, forms::Program& program, std::mt19937_64& random,
               Clock::duration play_for, Tally& tally, Heartbeat& heartbeat, Failure fail)
    : runtime_(runtime),
      program_(program),
      random_(random),
      tally_(tally),
      heartbeat_(heartbeat),
      fail_(std::move(fail)),
      leave_from_(Clock::now() + play_for) {}

void Player::begin() { schedule_tick(); }

void Player::schedule_tick() {
    QTimer::singleShot(std::chrono::milliseconds(2 + pick(25)), this, [this] { tick(); });
}

// Each look schedules the next one before it acts: an action that starts a
// rally or opens a box runs for a long time, and the next looks happen
// inside it, as a player's next moves do.
void Player::tick() {
    if (runtime_.ending()) return;
    schedule_tick();
    if (busy_) return;
    busy_ = true;
    ++nesting_;
    tally_.deepest_nesting = std::max(tally_.deepest_nesting, nesting_);
    act();
    --nesting_;
    busy_ = false;
}

void Player::act() {
    QWidget* modal = runtime_.open_box();
    const bool welcome_shown = welcome_window() != nullptr;
    heartbeat_.beat("looking at the screen");
    // A box answered inside input that is still being delivered has gone
    // from the screen, but its loop returns only once that input is done:
    // there is nothing to see or answer until then.
    if (modal && !modal->isVisible()) return;
    check_expectation(modal, welcome_shown);
    if (modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) return at_error_box(*box);
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog && dialog->windowTitle() == kPromptTitle) return at_prompt(*dialog);
        if (dialog && dialog->windowTitle() == kMessageTitle) return at_message(*dialog);
        fail_("an unexpected modal window \"" + modal->windowTitle().toStdString() + "\"");
        return;
    }
    if (welcome_shown) return at_welcome();
    if (court_window()) return in_rally();
    fail_("no window of the game is shown, yet the program runs");
}

void Player::check_expectation(QWidget* modal, bool welcome_shown) {
    const bool prompt_open = modal && modal->windowTitle() == kPromptTitle;
    switch (expect_) {
    case Expect::nothing: return;
    case Expect::prompt_again:
        if (!prompt_open)
            fail_("the delay prompt did not come back after \"" + last_answer_ + "\"" +
                  (modal ? " (\"" + modal->windowTitle().toStdString() + "\" is open)" : "") +
                  (welcome_shown ? " (the welcome window is shown)" : ""));
        break;
    case Expect::rally:
        if (modal || welcome_shown)
            fail_("the accepted delay \"" + last_answer_ + "\" did not start a rally with the welcome window hidden" +
                  (modal ? " (\"" + modal->windowTitle().toStdString() + "\" is open)" : ""));
        break;
    case Expect::welcome:
        // The rally finishes the turn it is in, which may end the game with a message first.
        if (welcome_shown) break;
        if (modal || Clock::now() - expect_since_ < std::chrono::seconds(3)) return;
        fail_("the welcome window did not come back within 3 s of a wall click");
        break;
    }
    expect_ = Expect::nothing;
}

void Player::at_prompt(QDialog& prompt) {
    QLineEdit* edit = prompt.findChild<QLineEdit*>();
    QPushButton* ok = button_of(prompt, "ОК");
    QPushButton* cancel = button_of(prompt, "Отмена");
    if (!edit || !ok || !cancel) {
        fail_("the delay prompt lacks its edit field or its buttons");
        key(prompt, Qt::Key_Escape);
        return;
    }
    if (leaving() && pick(3) == 0) return leave_over_a_box();
    const int r = leaving() ? 99 : pick(100);
    if (r < 4) {
        // Input for the windows under the box, which the box must keep from them.
        heartbeat_.beat("clicking a window under the delay prompt");
        if (QWidget* court = court_window()) click(*court, QPoint(1 + pick(court->width() - 2), 1 + pick(court->height() - 2)));
        ++tally_.other_clicks;
        return;
    }
    if (r < 10) {
        heartbeat_.beat("moving over the delay prompt");
        move(prompt, QPoint(1 + pick(prompt.width() - 2), 1 + pick(prompt.height() - 2)));
        return;
    }
    if (r < 14) {
        heartbeat_.beat("pressing Tab in the delay prompt");
        key(prompt, Qt::Key_Tab);
        return;
    }
    if (r < 24) {
        heartbeat_.beat("cancelling the delay prompt");
        switch (pick(3)) {
        case 0: key(prompt, Qt::Key_Escape); break;
        case 1: click(prompt, centre_in(prompt, *cancel)); break;
        default: close_window(prompt); break;
        }
        ++tally_.cancels;
        last_answer_ = "(cancelled)";
        expect_ = Expect::prompt_again;
        return;
    }

    // An answer: replace the text, then confirm it by Return or by "ОК".
    const bool accepted = leaving() || r >= 62;
    const std::string answer = accepted ? delay_answers::random_taken(random_).text : refused_answer(random_);
    heartbeat_.beat("answering the delay prompt");
    key(prompt, Qt::Key_A, Qt::ControlModifier);
    if (pick(4) == 0) key(prompt, Qt::Key_Backspace);
    type(prompt, characters_of(answer));
    // The outcome is known only when the program will read the answer's very
    // bytes (a field refuses some characters, a NUL for one) and the
    // confirmation goes to "ОК": Return on a focused "Отмена" cancels.
    const bool as_typed = edit->text().toStdString() == answer;
    const bool return_confirms = prompt.focusWidget() == edit || prompt.focusWidget() == ok;
    if (leaving() && !return_confirms) {
        click(prompt, centre_in(prompt, *ok));
    } else if (pick(3) == 0) {
        click(prompt, centre_in(prompt, *ok));
    } else {
        if (prompt.focusWidget() == cancel) {
            key(prompt, Qt::Key_Return);
            ++tally_.cancels;
            last_answer_ = "(Return on Отмена)";
            expect_ = Expect::prompt_again;
            return;
        }
        if (!return_confirms) {
            key(prompt, Qt::Key_Return);
            return;
        }
        key(prompt, Qt::Key_Return);
    }
    if (!as_typed) return;
    last_answer_ = delay_answers::printable(answer);
    if (accepted) {
        ++tally_.games_from_prompt;
        expect_ = Expect::rally;
        // Most rallies are stopped by the wall; the quick ones may play out first.
        stop_rally_at_ = Clock::now() + std::chrono::milliseconds(300 + pick(8000));
    } else {
        ++tally_.bad_answers;
        expect_ = Expect::prompt_again;
    }
}

void Player::at_message(QDialog& message) {
    if (leaving() && pick(3) == 0) return leave_over_a_box();
    heartbeat_.beat("closing an end-of-game message");
    QPushButton* ok = button_of(message, "ОК");
    QPushButton* cancel = button_of(message, "Отмена");
    const int r = pick(100);
    if (r < 5) {
        move(message, QPoint(1 + pick(message.width() - 2), 1 + pick(message.height() - 2)));
        return;
    }
    ++tally_.messages_closed;
    if (r < 35) key(message, Qt::Key_Return);
    else if (r < 50) key(message, Qt::Key_Escape);
    else if (r < 70 && ok) click(message, centre_in(message, *ok));
    else if (r < 80 && cancel) click(message, centre_in(message, *cancel));
    else if (r < 90) close_window(message);
    else {
        type(message, characters_of(refused_answer(random_)));
        key(message, Qt::Key_Return);
    }
}

void Player::at_error_box(QMessageBox& box) {
    fail_("a run-time error was reported: " + box.text().toStdString());
    heartbeat_.beat("closing a run-time error box");
    key(box, Qt::Key_Return);
}

void Player::at_welcome() {
    QWidget* welcome = welcome_window();
    QWidget* court = court_window();
    if (!court) {
        fail_("the welcome window is shown without the court");
        return;
    }
    if (leaving()) return leave();
    forms::frm_hello& hello = program_.hello();
    forms::frm_court& game = program_.court();
    const int r = pick(100);
    if (r < 35 && may_nest()) {
        heartbeat_.beat("clicking ИГРАТЬ");
        ++tally_.play_clicks;
        click_control(*welcome, *widget_of(hello, hello.CommandButton1));
        return;
    }
    if (r < 40 && may_nest()) {
        heartbeat_.beat("clicking the racket under the welcome window");
        ++tally_.racket_clicks;
        click_control(*court, *widget_of(game, game.b_racket));
        return;
    }
    if (r < 45) {
        heartbeat_.beat("clicking the wall under the welcome window");
        ++tally_.wall_clicks;
        click_control(*court, *widget_of(game, game.b_wall));
        return;
    }
    if (r < 50) {
        heartbeat_.beat("clicking elsewhere with the welcome window shown");
        ++tally_.other_clicks;
        const toolkit::Control* label = pick(2) ? &hello.Label1 : &hello.Label2;
        if (pick(2)) {
            click_control(*welcome, *widget_of(hello, *label));
            return;
        }
        // Anywhere but on a button: one on "ВЫЙТИ" would leave unannounced.
        const QPoint at(1 + pick(welcome->width() - 2), 1 + pick(welcome->height() - 2));
        if (!qobject_cast<QAbstractButton*>(welcome->childAt(at))) click(*welcome, at);
        return;
    }
    if (r < 54) {
        heartbeat_.beat("pressing keys on the welcome window");
        ++tally_.keys;
        if (pick(2)) key(*welcome, Qt::Key_Tab);
        // Space on the focused "ВЫЙТИ" would leave before the time is up.
        else if (may_nest()) press_space_unless_on(*welcome, widget_of(hello, hello.CommandButton2));
        return;
    }
    if (r < 64) {
        heartbeat_.beat("moving over the welcome window");
        move(*welcome, QPoint(1 + pick(welcome->width() - 2), 1 + pick(welcome->height() - 2)));
        return;
    }
    heartbeat_.beat("moving over the court under the welcome window");
    if (pick(5) == 0) random_court_input(*court);
    else move_over_free_surface(*court);
}

void Player::in_rally() {
    QWidget* court = court_window();
    forms::frm_court& game = program_.court();
    const bool stopping = expect_ == Expect::welcome;
    if (!stopping && (leaving() || Clock::now() >= stop_rally_at_)) {
        heartbeat_.beat("clicking the wall to stop the rally");
        ++tally_.wall_clicks;
        expect_ = Expect::welcome;
        expect_since_ = Clock::now();
        click_control(*court, *widget_of(game, game.b_wall));
        return;
    }
    const int r = pick(100);
    if (r < 6 && may_nest() && !stopping) {
        heartbeat_.beat("clicking the racket during a rally");
        ++tally_.racket_clicks;
        click_control(*court, *widget_of(game, game.b_racket));
        return;
    }
    if (r < 9 && may_nest() && !stopping) {
        heartbeat_.beat("pressing keys during a rally");
        ++tally_.keys;
        // Space on the focused racket nests a rally; on the wall it stops the game.
        if (pick(2)) key(*court, Qt::Key_Tab);
        else press_space_unless_on(*court, widget_of(game, game.b_wall));
        return;
    }
    heartbeat_.beat("moving over the court during a rally");
    // Once stopping, no clicks: one on the ball may land on the racket drawn
    // over it, and that starts a new game.
    if (r < 25 && !stopping) random_court_input(*court);
    else move_over_free_surface(*court);
}

void Player::leave() {
    left_at_ = Clock::now();
    const int r = pick(100);
    if (r < 70) {
        heartbeat_.beat("clicking ВЫЙТИ");
        ++tally_.exits_by_button;
        forms::frm_hello& hello = program_.hello();
        click_control(*welcome_window(), *widget_of(hello, hello.CommandButton2));
    } else {
        heartbeat_.beat("closing a window to leave");
        ++tally_.exits_by_closing;
        close_window(r < 85 ? *welcome_window() : *court_window());
    }
}

// Closing a game window while a box is open leaves at once too.
void Player::leave_over_a_box() {
    heartbeat_.beat("closing a window over an open box to leave");
    left_at_ = Clock::now();
    ++tally_.exits_by_closing;
    QWidget* welcome = welcome_window();
    close_window(welcome && pick(2) ? *welcome : *court_window());
}

void Player::random_court_input(QWidget& court) {
    forms::frm_court& game = program_.court();
    const toolkit::Control* pieces[] = {&game.I_ball, &game.b_rack_opp, &game.b_goal, &game.b_racket, &game.b_wall};
    const toolkit::Control& piece = *pieces[pick(5)];
    if (pick(3)) {
        if (const auto at = point_on(court, *widget_of(game, piece))) move(court, *at);
        return;
    }
    // Clicks that start nothing: the ball, the opponent, the disabled goal
    // bar, the free surface, and other buttons than the left on the racket.
    ++tally_.other_clicks;
    switch (pick(4)) {
    case 0: click_control(court, *widget_of(game, *pieces[pick(3)])); break;
    case 1: click_control(court, *widget_of(game, game.b_racket), pick(2) ? Qt::RightButton : Qt::MiddleButton); break;
    default: {
        QPoint at(1 + pick(court.width() - 2), 1 + pick(court.height() - 2));
        if (!court.childAt(at)) click(court, at);
        break;
    }
    }
}

// On the court the racket must end up under the pointer.
void Player::move_over_free_surface(QWidget& window) {
    for (int tries = 0; tries < 20; ++tries) {
        const QPoint at(1 + pick(window.width() - 2), 1 + pick(window.height() - 2));
        if (window.childAt(at)) continue;
        move(window, at);
        if (&window != court_window() || runtime_.ending()) return;
        forms::frm_court& court = program_.court();
        const double want = at.x() / toolkit::kPixelsPerPoint - court.half_racket_Width.value();
        if (std::abs(court.b_racket.left() - want) > 1e-3)
            fail_("a move over the court left the racket at " + std::to_string(court.b_racket.left()) + " pt, not " +
                  std::to_string(want));
        return;
    }
}

void Player::press_space_unless_on(QWidget& window, const QWidget* unwanted) {
    QWidget* focus = window.focusWidget();
    if (!focus || focus == unwanted) return;
    busy_ = false;  // the focused button may start a rally or open the prompt
    key(window, Qt::Key_Space);
}

// A random point of the control inside the window, or none when the
// control stands outside it (the racket follows the pointer without bounds).
std::optional<QPoint> Player::point_on(const QWidget& window, const QWidget& control) {
    const QRect area = QRect(control.mapTo(&window, QPoint(0, 0)), control.size()) & window.rect().adjusted(1, 1, -1, -1);
    if (area.isEmpty()) return std::nullopt;
    return QPoint(area.left() + pick(area.width()), area.top() + pick(area.height()));
}

void Player::click_control(QWidget& window, const QWidget& control, Qt::MouseButton button) {
    if (const auto at = point_on(window, control)) click(window, *at, button);
    else move_over_free_surface(window);
}

// A click on the game's windows is an action's last input: whatever lies
// under the pointer (the racket over the ball, say) may start a rally in it.
void Player::click(QWidget& window, QPoint at, Qt::MouseButton button) {
    if (!qobject_cast<QDialog*>(&window)) busy_ = false;
    QTest::mouseClick(window.windowHandle(), button, Qt::NoModifier, at);
}

void Player::move(QWidget& window, QPoint at) {
    ++tally_.moves;
    QTest::mouseMove(window.windowHandle(), at);
}

void Player::key(QWidget& window, Qt::Key k, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window.windowHandle(), k, modifiers);
}

void Player::type(QWidget& window, const QString& text) {
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, window.windowHandle(), key_for(c), QString(c), Qt::NoModifier);
}

// As the window's close button asks it.
void Player::close_window(QWidget& window) { window.windowHandle()->close(); }

QWidget* Player::court_window() const { return visible_window(kCourtTitle); }
QWidget* Player::welcome_window() const { return visible_window(kWelcomeTitle); }

QWidget* Player::widget_of(const toolkit::Form& form, const toolkit::Control& control) const {
    return runtime_.window_of(form)->widget_of(control);
}

}  // namespace qt_soak
