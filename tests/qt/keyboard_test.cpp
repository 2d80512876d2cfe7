// The keyboard on the game's windows: Space, Enter and keypad Enter press a
// button, other keys do not; the welcome window, each time it is
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
