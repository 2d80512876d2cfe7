// The start-up benchmark holds the game against its two windows made of plain
// Qt widgets: that figure means something only while they show what the
// game's windows show. Each plain window against the game's: size, title, and
// piece by piece in stacking order its place, font, text and whether it takes
// clicks; the welcome window is owned by the court as the game's is.
#include "bench/two_windows.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWindow>

namespace window_test {
namespace {

QString text_of(const QWidget& w) {
    if (const auto* label = qobject_cast<const QLabel*>(&w)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w)) return button->text();
    return {};
}

using PlainTwoWindows = GameWindows;

TEST_F(PlainTwoWindows, show_the_game_s_pieces_in_its_places_faces_and_texts_and_the_welcome_window_is_the_court_s) {
    const bench::TwoWindows plain = bench::make_two_windows();
    const struct { QWidget& plain; toolkit::Form& form; } pairs[] = {{*plain.court, court}, {*plain.welcome, hello}};
    for (const auto& [window, form] : pairs) {
        SCOPED_TRACE(form.name());
        const toolkit::qt::FormWindow& game = window_of(form);
        EXPECT_EQ(window.size(), game.size());
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        EXPECT_EQ(window.windowTitle(), game.windowTitle());
        EXPECT_EQ(window.font(), game.font());
        QList<QWidget*> pieces = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        pieces.removeIf([](const QWidget* w) { return w->isWindow(); });  // the court's welcome window
        ASSERT_EQ(static_cast<std::size_t>(pieces.size()), form.controls().size());
        for (std::size_t i = 0; i < form.controls().size(); ++i) {
            const toolkit::Control& c = *form.controls()[i];
            const QWidget& piece = *pieces[static_cast<qsizetype>(i)];
            SCOPED_TRACE(c.name());
            EXPECT_EQ(piece.geometry(), widget_of(form, c).geometry());
            EXPECT_EQ(piece.font(), widget_of(form, c).font());
            EXPECT_EQ(text_of(piece), toolkit::qt::caption_text(c.caption()));
            EXPECT_EQ(piece.isEnabled(), widget_of(form, c).isEnabled());
        }
    }
    plain.welcome->winId();
    EXPECT_EQ(plain.welcome->windowHandle()->transientParent(), plain.court->windowHandle());
}

}  // namespace
}  // namespace window_test
