#pragma once

// The whole program on the Qt backend, run through its event loop as main()
// runs it. The player is played by timers: one answers every modal box as it
// opens, others click buttons and close windows when the game is in a given
// state. Timers belong to the test, so none outlives it.
#include "forms/program.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/input_dialog.h"
#include "toolkit/qt/qt_runtime.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace qt_flow {

inline const QString kOk = QString::fromUtf8("ОК");
inline const QString kCancel = QString::fromUtf8("Отмена");

// A modal box as the player saw it when it opened.
struct SeenBox {
    bool input_box = false;  // the toolkit's input box; anything else is some other message
    QString title, prompt, text;
    bool welcome_visible = false;
};

// How the player answers one box: the text typed over the default answer
// (none: leave it as offered), then "ОК" or "Отмена".
struct Reply {
    std::optional<QString> text;
    bool confirm = true;
};

inline Reply type_and_confirm(const char* text) { return {QString::fromUtf8(text), true}; }
inline Reply confirm_as_offered() { return {std::nullopt, true}; }
inline Reply cancel() { return {std::nullopt, false}; }

class Session : public testing::Test {
protected:
    Session() {
        QObject::connect(&box_watch_, &QTimer::timeout, &context_, [this] { answer_open_box(); });
        box_watch_.start(10);
    }

    ~Session() override {
        // Unloaded windows go away with their deferred deletion.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Starts the program as main() does and runs its event loop until it ends.
    // A program still running after `limit_ms` is ended, and the test fails.
    int run_program(int limit_ms = 5000) {
        program.start();
        QTimer::singleShot(limit_ms, &context_, [this] {
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
        QTimer::singleShot(5, &context_, [this, ready, action] {
            if (ready()) action();
            else when(ready, action);
        });
    }
    void after(int ms, std::function<void()> action) { QTimer::singleShot(ms, &context_, action); }
    // Runs `action` every 10 ms for the rest of the test.
    void every_tick(std::function<void()> action) {
        auto* t = new QTimer(&context_);
        QObject::connect(t, &QTimer::timeout, &context_, action);
        t->start(10);
    }

    toolkit::qt::FormWindow* window(const toolkit::Form& form) const { return runtime.window_of(form); }
    QWidget* widget(const toolkit::Form& form, const toolkit::Control& control) const {
        toolkit::qt::FormWindow* w = window(form);
        return w ? w->widget_of(control) : nullptr;
    }
    // A left click on the control's widget, as the mouse gives it.
    void click(const toolkit::Form& form, const toolkit::Control& control) {
        QWidget* w = widget(form, control);
        if (!w) {
            ADD_FAILURE() << control.name() << " has no widget to click";
            return;
        }
        QTest::mouseClick(w, Qt::LeftButton);
    }
    // Asks the form's window to close, as its close button does.
    void close_window(const toolkit::Form& form) {
        if (toolkit::qt::FormWindow* w = window(form)) w->close();
        else ADD_FAILURE() << form.name() << " has no window to close";
    }

    bool welcome_visible() const {
        toolkit::qt::FormWindow* w = window(hello);
        return w && w->isVisible();
    }
    static bool box_open() { return QApplication::activeModalWidget() != nullptr; }
    // A prompted game is running: the welcome form is hidden and no box is open.
    bool prompted_game_running() const { return window(court) && !welcome_visible() && !box_open(); }
    bool windows_gone() const { return !window(court) && !window(hello); }

    toolkit::qt::QtRuntime runtime;
    forms::Program program{runtime};
    // Both forms made before start-up, unshown, so the test can hold them;
    // unloaded, their objects live on with the program.
    forms::frm_court& court = program.court();
    forms::frm_hello& hello = program.hello();

    std::deque<Reply> replies;  // with none left a box is confirmed as offered
    std::vector<SeenBox> boxes;

private:
    void answer_open_box() {
        QWidget* w = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QDialog*>(w);
        if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool()) return;
        dialog->setProperty("answered", true);

        SeenBox seen;
        seen.input_box = dynamic_cast<toolkit::qt::InputDialog*>(dialog) != nullptr;
        seen.title = dialog->windowTitle();
        seen.welcome_visible = welcome_visible();
        QLineEdit* edit = dialog->findChild<QLineEdit*>();
        if (auto* message = qobject_cast<QMessageBox*>(dialog)) seen.prompt = message->text();
        else if (auto* label = dialog->findChild<QLabel*>()) seen.prompt = label->text();
        if (edit) seen.text = edit->text();
        boxes.push_back(seen);

        Reply reply = confirm_as_offered();
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        }
        if (edit && reply.text) edit->setText(*reply.text);
        const QString wanted = reply.confirm ? kOk : kCancel;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == wanted) {
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "the box \"" << seen.title.toStdString() << "\" has no button " << wanted.toStdString();
        dialog->reject();
    }

    bool timed_out_ = false;
    QTimer box_watch_;
    QObject context_;  // last: the test's pending timers go first
};

}  // namespace qt_flow
