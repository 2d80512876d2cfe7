// What assistive technology reads from both windows through Qt's accessibility:
// every control's role, name (its caption as shown), description and states,
// the windows as frames named by their titles, live name changes of the
// scores and their announcements, focus moved by Tab, and pressing a button
// through its action.
#include "toolkit/qt/qt_look.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <set>

namespace window_test {
namespace {

using toolkit::qt::caption_text;
using toolkit::qt::to_qstring;

// Name changes as an assistive tool would see them, with the name read when the event arrives.
struct NameChange {
    QObject* object;
    QString name;
};
std::vector<NameChange> name_changes;

// Notifications shown, as a screen reader hears them: in their window, a name and a description.
struct Announcement {
    QObject* window;
    std::string name, description;
    friend bool operator==(const Announcement&, const Announcement&) = default;
};
std::vector<Announcement> announcements;

void record_update(QAccessibleEvent* event) {
    QAccessibleInterface* i = event->accessibleInterface();
    if (event->type() == QAccessible::NameChanged) name_changes.push_back({event->object(), i->text(QAccessible::Name)});
    if (event->type() == QAccessible::ObjectShow && i->role() == QAccessible::Notification)
        announcements.push_back({i->parent()->object(), i->text(QAccessible::Name).toStdString(),
                                 i->text(QAccessible::Description).toStdString()});
}

class Accessible : public GameWindows {
protected:
    void SetUp() override {
        // As when a screen reader listens: only then does Qt pass the events on.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        previous_handler_ = QAccessible::installUpdateHandler(record_update);
        name_changes.clear();
        announcements.clear();
    }
    void TearDown() override {
        QAccessible::installUpdateHandler(previous_handler_);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }

    QAccessibleInterface& iface(QWidget& w) { return must(QAccessible::queryAccessibleInterface(&w), "interface"); }
    QAccessibleInterface& iface(const toolkit::Form& f, const toolkit::Control& c) { return iface(widget_of(f, c)); }
    QAccessibleInterface& iface(const toolkit::Form& f) { return iface(window_of(f)); }

    toolkit::qt::FormWindow& show_active(toolkit::Form& form) {
        runtime.show(form);
        window_of(form).activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_of(form)));
        return window_of(form);
    }

private:
    QAccessible::UpdateHandler previous_handler_ = nullptr;
};

TEST_F(Accessible, every_control_has_the_role_of_its_kind_its_caption_as_name_a_description_and_its_states) {
    const struct {
        toolkit::Form& form;
        toolkit::Control& control;
        QAccessible::Role role;
        bool enabled, focusable;
    } rows[] = {
        {court, court.I_ball, QAccessible::Graphic, true, false},
        {court, court.b_racket, QAccessible::Button, true, true},
        {court, court.b_wall, QAccessible::Button, true, true},
        {court, court.b_goal, QAccessible::Button, false, false},  // drawn disabled: no clicks, no focus
        {court, court.b_rack_opp, QAccessible::Button, true, true},
        {hello, hello.Label1, QAccessible::StaticText, true, false},
        {hello, hello.CommandButton1, QAccessible::Button, true, true},
        {hello, hello.CommandButton2, QAccessible::Button, true, true},
        {hello, hello.Label2, QAccessible::StaticText, true, false},
    };
    std::set<QString> descriptions;
    for (const auto& [form, control, role, enabled, focusable] : rows) {
        SCOPED_TRACE(control.name());
        QAccessibleInterface& a = iface(form, control);
        EXPECT_EQ(a.role(), role);
        EXPECT_EQ(a.text(QAccessible::Name), caption_text(control.caption()));
        // Labels speak for themselves; every other control says what it is, each in its own words.
        const QString description = a.text(QAccessible::Description);
        EXPECT_EQ(description, to_qstring(control.look().description));
        if (role != QAccessible::StaticText) {
            EXPECT_TRUE(description.contains(QRegularExpression("^[А-ЯЁ][а-яё]+"))) << description.toStdString();
            EXPECT_TRUE(descriptions.insert(description).second) << "told apart from the others";
        }
        EXPECT_EQ(a.state().disabled, !enabled);
        EXPECT_EQ(a.state().focusable, focusable);
        EXPECT_FALSE(a.state().focused);
        EXPECT_EQ(a.parent()->object(), &window_of(form));
        // Only a button that takes clicks can be pressed.
        const QStringList actions = a.actionInterface() ? a.actionInterface()->actionNames() : QStringList();
        EXPECT_EQ(actions.contains(QAccessibleActionInterface::pressAction()), role == QAccessible::Button && enabled);
    }
}

TEST_F(Accessible, names_keep_the_blanks_and_line_breaks_that_are_shown) {
    court.b_rack_opp.set_caption(" 1");
    const struct { toolkit::Form& form; toolkit::Control& control; QString name; } rows[] = {
        {court, court.b_rack_opp, " 1"},                 // a score keeps its leading blank
        {court, court.b_wall, ""},                       // a bar has no caption
        {hello, hello.Label1, "ДЕТСКИЙ  БАУНЗО\n"},      // the title ends with a line break
        {hello, hello.Label2, "\n" + to_qstring(forms::kCredit)},  // the credit begins with one
    };
    for (const auto& [form, control, name] : rows) EXPECT_EQ(iface(form, control).text(QAccessible::Name), name);
}

TEST_F(Accessible, both_windows_are_frames_named_by_their_titles_with_their_controls_as_children) {
    for (toolkit::Form* form : {static_cast<toolkit::Form*>(&court), static_cast<toolkit::Form*>(&hello)}) {
        SCOPED_TRACE(form->name());
        QAccessibleInterface& w = iface(*form);
        EXPECT_EQ(w.role(), QAccessible::Window);
        EXPECT_EQ(w.text(QAccessible::Name), to_qstring(form->look().caption));
        ASSERT_EQ(w.childCount(), static_cast<int>(form->controls().size()));
        for (int i = 0; i < w.childCount(); ++i)
            EXPECT_EQ(w.child(i)->object(), &widget_of(*form, *form->controls()[i]));
    }
}

// A screen reader speaks a new name only for the focused object, and Qt's
// bridge does not send the name: each change is also shown as a notification.
TEST_F(Accessible, every_caption_change_raises_a_name_change_and_an_announcement_with_the_new_caption) {
    court.start_settings();
    name_changes.clear();
    announcements.clear();
    court.b_rack_opp.set_caption(" 1");
    court.b_racket.set_caption(" 2");
    court.b_rack_opp.set_caption(" 3");
    court.start_settings();  // a reset puts both scores back to "0"
    std::vector<std::pair<QObject*, std::string>> seen;
    for (const auto& [object, name] : name_changes) seen.emplace_back(object, name.toStdString());
    QObject *opponent = &widget(court.b_rack_opp), *racket = &widget(court.b_racket);
    const std::vector<std::pair<QObject*, std::string>> expected = {
        {opponent, " 1"}, {racket, " 2"}, {opponent, " 3"}, {opponent, "0"}, {racket, "0"}};
    EXPECT_EQ(seen, expected);
    std::vector<Announcement> heard;
    for (const auto& [object, name] : expected) {
        const auto& control = object == opponent ? court.b_rack_opp : court.b_racket;
        heard.push_back({&window_of(court), name, control.look().description});
    }
    EXPECT_EQ(announcements, heard);
    // Moves are no name changes: the ball and the opponent's racket move every turn.
    name_changes.clear();
    court.I_ball.set_left(100);
    court.b_rack_opp.set_left(100);
    court.b_wall.set_height(3);
    EXPECT_TRUE(name_changes.empty());
    EXPECT_EQ(announcements.size(), heard.size());
}

TEST_F(Accessible, tab_moves_the_reported_focus_between_the_two_buttons_of_the_welcome_window) {
    auto& window = show_active(hello);
    QAccessibleInterface &play = iface(hello, hello.CommandButton1), &leave = iface(hello, hello.CommandButton2);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        if (i > 0) QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        QAccessibleInterface &focused = i % 2 ? leave : play, &other = i % 2 ? play : leave;
        EXPECT_TRUE(focused.state().focused);
        EXPECT_FALSE(other.state().focused);
        EXPECT_EQ(iface(hello).focusChild(), &focused);
        for (toolkit::Control* label : {&hello.Label1, &hello.Label2})
            EXPECT_FALSE(iface(hello, *label).state().focused);
    }
}

TEST_F(Accessible, a_button_pressed_through_its_action_clicks_from_the_event_loop_and_the_goal_bar_cannot_be_pressed) {
    runtime.show(court);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    auto& goal_button = static_cast<QAbstractButton&>(widget(court.b_goal));
    QSignalSpy goal_presses(&goal_button, &QAbstractButton::pressed);
    QAccessibleActionInterface* goal = iface(court, court.b_goal).actionInterface();
    ASSERT_NE(goal, nullptr);
    goal->doAction(QAccessibleActionInterface::pressAction());
    QAccessibleActionInterface* wall = iface(court, court.b_wall).actionInterface();
    ASSERT_NE(wall, nullptr);
    wall->doAction(QAccessibleActionInterface::pressAction());
    // The tool's call returns before the click runs the form's handler, which may open a modal box.
    EXPECT_FALSE(court.quit_game);
    EXPECT_TRUE(QTest::qWaitFor([&] { return court.quit_game; }, 5000)) << "the wall bar's click never came";
    EXPECT_TRUE(goal_presses.isEmpty() && !goal_button.isDown());
}

}  // namespace
}  // namespace window_test
