// Both game windows on the Qt backend: client area, title, widget places and Tab order;
// the welcome window opening centred over the court, and what it draws: the form's grey,
// the title's band with the credit box over it, each text on its own line. (Button
// captions are drawn like the court's scores, checked there.)
#include "window_test_support.h"

#include <QTest>
#include <QWindow>

namespace window_test {
namespace {

class BothWindows : public GameWindows {
protected:
    // Each window's client area, and the controls that Tab visits from the first focus on.
    const struct { toolkit::Form& form; QSize size; std::vector<toolkit::Control*> tab_cycle; } windows[2] = {
        {court, {573, 554}, {&court.b_racket, &court.b_wall, &court.b_rack_opp}},  // not the goal bar, nor the ball
        {hello, {419, 367}, {&hello.CommandButton1, &hello.CommandButton2}}};      // not the labels

    toolkit::qt::FormWindow& show(toolkit::Form& form) {
        runtime.show(form);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_of(form)));
        return window_of(form);
    }
};

TEST_F(BothWindows, client_area_is_fixed_and_reported_in_twips_title_is_the_caption_and_widgets_are_in_place) {
    for (const auto& [form, size, cycle] : windows) {
        SCOPED_TRACE(form.name());
        auto& window = show(form);
        EXPECT_EQ(window.size(), size);
        EXPECT_EQ(window.minimumSize(), size);
        EXPECT_EQ(window.maximumSize(), size);
        // Twips are 1/20 point. The game's field is computed from them, so they must be the client area alone.
        EXPECT_EQ(size, QSize(to_pixels(form.width_twips() / toolkit::kTwipsPerPoint),
                              to_pixels(form.height_twips() / toolkit::kTwipsPerPoint)));
        EXPECT_EQ(window.windowTitle().toStdString(), form.look().caption);
        for (const auto& c : form.controls()) {
            EXPECT_EQ(widget_of(form, *c).geometry(), pixel_rect_of(*c)) << c->name();
            EXPECT_TRUE(widget_of(form, *c).isVisible()) << c->name();
        }
    }
}

// The desktop's maximise or fullscreen (here the offscreen platform's, which
// fills the screen) is handed back: the window is normal again, where and as
// large as it was. Neither window asks for a maximise button.
TEST_F(BothWindows, maximise_and_fullscreen_are_handed_back_and_leave_the_window_where_and_as_large_as_it_was) {
    for (const auto& [form, size, cycle] : windows) {
        auto& window = show(form);
        EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint) << form.name();
        const QRect before = window.geometry();
        for (const Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
            SCOPED_TRACE(form.name() + (state == Qt::WindowMaximized ? " maximised" : " fullscreen"));
            QWindow& handle = *window.windowHandle();
            handle.setWindowState(state);
            EXPECT_TRUE(QTest::qWaitFor([&] { return handle.windowState() == Qt::WindowNoState && window.geometry() == before; }))
                << "state " << handle.windowState() << ", geometry " << window.geometry().width() << "x"
                << window.geometry().height() << "+" << window.geometry().x() << "+" << window.geometry().y();
            EXPECT_EQ(window.maximumSize(), size);
        }
    }
}

TEST_F(BothWindows, tab_cycles_through_the_enabled_buttons_only) {
    for (const auto& [form, size, cycle] : windows) {
        SCOPED_TRACE(form.name());
        auto& window = show(form);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        // Two rounds in the window's own focus: the welcome form may come up over the court and take it.
        const size_t n = cycle.size();
        std::vector<QWidget*> visited, expected;
        for (size_t i = 0; i < 2 * n; ++i) {
            if (i > 0) QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
            visited.push_back(window.focusWidget());
            expected.push_back(&widget_of(form, *cycle[i % n]));
        }
        EXPECT_EQ(visited, expected);
        QTest::keyClick(window.windowHandle(), Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(window.focusWidget(), expected[n - 2]);
    }
}

TEST_F(BothWindows, welcome_window_opens_over_the_court_centred_on_it_when_the_program_starts) {
    program.start();
    auto &court_window = window_of(court), &welcome = window_of(hello);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&court_window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return welcome.isVisible(); }, 2000)) << "the welcome window was not shown";
    EXPECT_EQ(welcome.windowHandle()->transientParent(), court_window.windowHandle());
    // The client areas share their centre, give or take the rounding of an odd size.
    const QPoint offset = welcome.geometry().center() - court_window.geometry().center();
    EXPECT_TRUE(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1) << "off by " << offset.x() << "," << offset.y();
}

// Text drawn in the system button-text colour (black), antialiased.
bool is_dark_text(const QColor& c) { return near(c, Qt::black, 109); }

const QRect kBand = to_pixel_rect({47.99, 47.99, 222.01, 62.99});    // the title label
const QRect kCredit = to_pixel_rect({107.97, 77.98, 90.00, 29.99});  // the credit label, over the band's lower part

TEST_F(BothWindows, welcome_form_is_scroll_bar_grey_and_the_credit_box_is_drawn_over_the_button_face_band) {
    const QImage g = window_of(hello).grab().toImage();
    // The credit's upper part is its empty first line: only its back colour shows.
    for (const QPoint p : {QPoint(10, 10), QPoint(400, 350), QPoint(kBand.left() - 1, kBand.center().y()),
                           kCredit.topLeft() + QPoint(2, 2), kCredit.topRight() + QPoint(-2, 2),
                           kCredit.bottomLeft() + QPoint(2, -1)})
        EXPECT_TRUE(pixel_is(g, p.x(), p.y(), kScrollBar));
    for (const QPoint p : {kBand.bottomLeft() + QPoint(3, -3), kBand.bottomRight() + QPoint(-3, -3),
                           kCredit.topLeft() + QPoint(-2, 2), kCredit.topRight() + QPoint(2, 2)})
        EXPECT_TRUE(pixel_is(g, p.x(), p.y(), kButtonFace));
}

TEST_F(BothWindows, welcome_title_stands_on_the_first_line_of_its_band_and_the_credit_on_the_second_line_of_its_box) {
    const QImage g = window_of(hello).grab().toImage();
    // The title's text ends with a line break: large letters at the top of the band, centred across it.
    const QRect title = bounds_of(g, QRect(kBand.topLeft(), QPoint(kBand.right(), kCredit.top() - 1)), is_dark_text);
    EXPECT_TRUE(title.top() - kBand.top() <= 10 && title.height() >= 18) << "title at row " << title.top();
    EXPECT_LE(std::abs(title.center().x() - kBand.center().x()), 3);
    // Below the title's line, dark text only inside the credit box.
    const QRect lower_band(QPoint(kBand.left(), kCredit.top()), kBand.bottomRight());
    EXPECT_EQ(count_near(g, lower_band, Qt::black, 109), count_near(g, kCredit, Qt::black, 109));
    // The credit's text begins with a line break: left-aligned on the box's second line.
    const QRect credit = bounds_of(g, kCredit, is_dark_text);
    ASSERT_FALSE(credit.isEmpty()) << "no credit drawn";
    EXPECT_TRUE(credit.top() - kCredit.top() >= 12 && credit.left() - kCredit.left() <= 3);
}

}  // namespace
}  // namespace window_test
