// The keyboard on the game's windows: Space, Enter and keypad Enter press a
// button, once however long they are held, other keys do not; the welcome window, each time it is
// shown, has the focus on its first button ("ИГРАТЬ"), wherever it was left.
#include "window_test_support.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

namespace window_test {
namespace {

using Keyboard = GameWindows;

TEST_F(Keyboard, space_enter_and_keypad_enter_press_a_button_and_other_keys_do_not) {
    // The wall bar: a button whose click only asks a rally to stop. The keys
    // go straight to it, as to the focused widget of the active window.
    runtime.show(court);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    auto& button = dynamic_cast<QAbstractButton&>(widget(court.b_wall));
    const struct { const char* name; Qt::Key key; Qt::KeyboardModifiers modifiers; int clicks; } cases[] = {
        {"Space", Qt::Key_Space, Qt::NoModifier, 1},
        {"Enter", Qt::Key_Return, Qt::NoModifier, 1},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, 1},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, 0},
        {"a letter", Qt::Key_A, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        // Down while the key is held, clicked when it is let go, as a mouse press.
        QTest::keyPress(&button, c.key, c.modifiers);
        EXPECT_EQ(button.isDown(), c.clicks == 1);
        EXPECT_EQ(clicked.count(), 0);
        QTest::keyRelease(&button, c.key, c.modifiers);
        EXPECT_FALSE(button.isDown());
        EXPECT_EQ(clicked.count(), c.clicks);
    }
}

// A key held down repeats: as presses alone (Qt's own word for them on
// every platform), or with a release before each repeat press (X11). The
// button clicks once, when the key is let go; and the repeats and release of
// a key that went down on a box that has gone since press nothing.
TEST_F(Keyboard, a_key_held_on_a_button_clicks_it_once_on_its_release_and_one_held_on_a_gone_box_not_at_all) {
    runtime.show(court);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    auto& button = dynamic_cast<QAbstractButton&>(widget(court.b_wall));
    const struct { const char* name; Qt::Key key; Qt::KeyboardModifiers modifiers; const char* text; } keys[] = {
        {"Space", Qt::Key_Space, Qt::NoModifier, " "},
        {"Enter", Qt::Key_Return, Qt::NoModifier, "\r"},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r"},
    };
    const struct { const char* name; bool pressed_here, releases_between; } holds[] = {
        {"repeated presses", true, false},
        {"repeated releases and presses", true, true},
        {"pressed on a box", false, false},
        {"pressed on a box, repeated releases and presses", false, true},
    };
    for (const auto& k : keys) {
        for (const auto& hold : holds) {
            SCOPED_TRACE(std::string(k.name) + ", " + hold.name);
            QSignalSpy clicked(&button, &QAbstractButton::clicked);
            if (hold.pressed_here) QTest::simulateEvent(&button, true, k.key, k.modifiers, k.text, false);
            for (int repeat = 0; repeat < 50; ++repeat) {
                if (hold.releases_between) QTest::simulateEvent(&button, false, k.key, k.modifiers, k.text, true);
                QTest::simulateEvent(&button, true, k.key, k.modifiers, k.text, true);
            }
            EXPECT_EQ(button.isDown(), hold.pressed_here);
            EXPECT_EQ(clicked.count(), 0);
            QTest::simulateEvent(&button, false, k.key, k.modifiers, k.text, false);
            EXPECT_FALSE(button.isDown());
            EXPECT_EQ(clicked.count(), hold.pressed_here ? 1 : 0);
        }
    }
}

TEST_F(Keyboard, welcome_window_has_the_focus_on_its_first_button_each_time_it_is_shown) {
    auto& welcome = window_of(hello);
    QWidget &play = widget_of(hello, hello.CommandButton1), &leave = widget_of(hello, hello.CommandButton2);
    runtime.show(court);
    for (int shown = 1; shown <= 3; ++shown) {
        SCOPED_TRACE("shown " + std::to_string(shown) + " times");
        runtime.show(hello, &court);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
        EXPECT_EQ(welcome.focusWidget(), &play);
        // The player tabs to "ВЫЙТИ" before the welcome window goes (a game starts).
        leave.setFocus();
        ASSERT_EQ(welcome.focusWidget(), &leave);
        runtime.hide(hello);
    }
}

}  // namespace
}  // namespace window_test
