// The welcome window: its size and title, its four controls where the layout
// puts them, the credit drawn over the title's band, and the keyboard focus
// that only the two buttons take.
#include "window_test_support.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

namespace window_test {
namespace {

class HelloWindow : public GameWindows {
protected:
    toolkit::qt::FormWindow& window() { return window_of(hello); }
    QWidget& widget(const toolkit::Control& control) { return widget_of(hello, control); }
    QImage grab_hello() { return window().grab().toImage(); }

    forms::frm_hello& hello = program.hello();
};

TEST_F(HelloWindow, client_area_is_6288_by_5508_twips_in_pixels_and_cannot_be_resized) {
    // 6288 / 15 = 419.2 and 5508 / 15 = 367.2 pixels.
    EXPECT_EQ(window().size(), QSize(419, 367));
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
}

TEST_F(HelloWindow, title_is_the_title_word_a_space_and_a_credit) {
    const QString title = window().windowTitle();
    EXPECT_TRUE(title.startsWith("Bounzo ")) << title.toStdString();
    EXPECT_GT(title.size(), QString("Bounzo ").size()) << "no credit after the title word";
}

struct ControlPlace {
    const char* name;
    toolkit::Control& (*control)(forms::frm_hello&);
    double left, top, width, height;  // points, as designed
};

const ControlPlace kDesignedPlaces[] = {
    {"Label1", [](forms::frm_hello& h) -> toolkit::Control& { return h.Label1; }, 47.99, 47.99, 222.01, 62.99},
    {"CommandButton1", [](forms::frm_hello& h) -> toolkit::Control& { return h.CommandButton1; }, 101.99, 119.99,
     101.99, 29.99},
    {"CommandButton2", [](forms::frm_hello& h) -> toolkit::Control& { return h.CommandButton2; }, 101.99, 170.99,
     101.99, 29.99},
    {"Label2", [](forms::frm_hello& h) -> toolkit::Control& { return h.Label2; }, 107.97, 77.98, 90.00, 29.99},
};

TEST_F(HelloWindow, every_control_has_a_widget_at_its_designed_place) {
    for (const ControlPlace& c : kDesignedPlaces) {
        SCOPED_TRACE(c.name);
        const QWidget& w = widget(c.control(hello));
        EXPECT_EQ(w.geometry(), px_rect(c.left, c.top, c.width, c.height));
        EXPECT_FALSE(w.isHidden());
    }
}

TEST_F(HelloWindow, controls_carry_the_designed_texts) {
    EXPECT_EQ(hello.CommandButton1.caption(), "ИГРАТЬ");
    EXPECT_EQ(hello.CommandButton2.caption(), "ВЫЙТИ");
    EXPECT_EQ(hello.Label1.caption(), "ДЕТСКИЙ  БАУНЗО\r\n");
    EXPECT_EQ(hello.Label2.caption().rfind("\r\n", 0), 0u) << "the credit's first line is not empty";
    EXPECT_GT(hello.Label2.caption().size(), 2u);
}

TEST_F(HelloWindow, both_buttons_show_their_caption_centred) {
    const QImage g = grab_hello();
    for (toolkit::Control* button : {&hello.CommandButton1, &hello.CommandButton2}) {
        SCOPED_TRACE(button->name());
        const QRect area = widget(*button).geometry();
        const QRect text = bounds_of(g, area.adjusted(4, 4, -5, -5), is_dark_text);
        ASSERT_FALSE(text.isEmpty()) << "no caption drawn";
        EXPECT_LE(std::abs(text.center().x() - area.center().x()), 3);
        EXPECT_LE(std::abs(text.center().y() - area.center().y()), 3);
        // Six bold capitals at 9.75 points: wider than a third of the button.
        EXPECT_GT(text.width(), area.width() / 3);
    }
}

TEST_F(HelloWindow, form_is_scroll_bar_grey_and_the_title_band_button_face) {
    const QImage g = grab_hello();
    EXPECT_TRUE(pixel_is(g, 10, 10, kScrollBar));
    EXPECT_TRUE(pixel_is(g, 400, 350, kScrollBar));
    const QRect band = px_rect(47.99, 47.99, 222.01, 62.99);
    EXPECT_TRUE(pixel_is(g, band.left() + 3, band.bottom() - 3, kButtonFace));
    EXPECT_TRUE(pixel_is(g, band.right() - 3, band.bottom() - 3, kButtonFace));
    EXPECT_TRUE(pixel_is(g, band.left() - 1, band.center().y(), kScrollBar));
}

TEST_F(HelloWindow, credit_label_is_drawn_over_the_title_label) {
    const QImage g = grab_hello();
    // The overlap: 107.97 to 197.97 points across, 77.98 to 107.97 down. Its
    // upper part is the credit's empty first line, so only its back colour shows.
    const QRect overlap = px_rect(107.97, 77.98, 90.00, 29.99);
    EXPECT_TRUE(pixel_is(g, overlap.left() + 2, overlap.top() + 2, kScrollBar));
    EXPECT_TRUE(pixel_is(g, overlap.right() - 2, overlap.top() + 2, kScrollBar));
    EXPECT_TRUE(pixel_is(g, overlap.left() + 2, overlap.bottom() - 1, kScrollBar));
    // Around it the title's band.
    EXPECT_TRUE(pixel_is(g, overlap.left() - 2, overlap.top() + 2, kButtonFace));
    EXPECT_TRUE(pixel_is(g, overlap.right() + 2, overlap.top() + 2, kButtonFace));
}

TEST_F(HelloWindow, title_stands_on_the_first_line_of_its_band_and_the_credit_on_the_second_line_of_its_box) {
    const QImage g = grab_hello();
    const QRect band = px_rect(47.99, 47.99, 222.01, 62.99);
    const QRect credit = px_rect(107.97, 77.98, 90.00, 29.99);

    // The title: large letters at the top of the band, centred across it.
    const QRect title = bounds_of(g, QRect(band.left(), band.top(), band.width(), credit.top() - band.top()), is_dark_text);
    ASSERT_FALSE(title.isEmpty()) << "no title drawn";
    EXPECT_LE(title.top() - band.top(), 10);
    EXPECT_GE(title.height(), 18);
    EXPECT_LE(std::abs(title.center().x() - band.center().x()), 3);
    // Nothing of the title below its first line, beside the credit box.
    const QRect left_of_credit(band.left(), credit.top(), credit.left() - band.left(), band.bottom() - credit.top() + 1);
    const QRect right_of_credit(credit.right() + 1, credit.top(), band.right() - credit.right(),
                                band.bottom() - credit.top() + 1);
    EXPECT_TRUE(bounds_of(g, left_of_credit, is_dark_text).isEmpty());
    EXPECT_TRUE(bounds_of(g, right_of_credit, is_dark_text).isEmpty());

    // The credit: left-aligned on the box's second line, the first one empty.
    const QRect text = bounds_of(g, credit, is_dark_text);
    ASSERT_FALSE(text.isEmpty()) << "no credit drawn";
    EXPECT_GE(text.top() - credit.top(), 12);
    EXPECT_LE(text.left() - credit.left(), 3);
}

TEST_F(HelloWindow, tab_moves_the_focus_between_the_two_buttons_only) {
    runtime.show(hello);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QWindow* handle = window().windowHandle();
    QWidget* play = &widget(hello.CommandButton1);
    QWidget* leave = &widget(hello.CommandButton2);

    EXPECT_EQ(QApplication::focusWidget(), play) << "the first control that takes the focus is the play button";
    std::vector<QWidget*> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(handle, Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(visited, (std::vector<QWidget*>{leave, play, leave, play}));
    QTest::keyClick(handle, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), leave);

    EXPECT_EQ(widget(hello.Label1).focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(widget(hello.Label2).focusPolicy(), Qt::NoFocus);
}

TEST_F(HelloWindow, opens_over_the_court_centred_on_it_when_the_program_starts) {
    program.start();
    auto& court = window_of(program.court());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&court));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().isVisible(); }, 2000)) << "the welcome window was not shown";
    ASSERT_NE(window().windowHandle(), nullptr);
    EXPECT_EQ(window().windowHandle()->transientParent(), court.windowHandle());
    // The client areas share their centre, give or take the rounding of an odd size.
    const QPoint offset = window().geometry().center() - court.geometry().center();
    EXPECT_LE(std::abs(offset.x()), 1) << "welcome window " << offset.x() << " px right of the court's centre";
    EXPECT_LE(std::abs(offset.y()), 1) << "welcome window " << offset.y() << " px below the court's centre";
}

}  // namespace
}  // namespace window_test
