// The boxes and their loop: what each way of answering returns, the player's
// input to the forms dropped while a box is open, the desktop's requests to
// close them not, and the unhandled-error message.
#include "win32_test_support.h"

#include "engine/court_rules.h"
#include "toolkit/errors.h"
#include "toolkit/texts.h"

namespace win32_test {
namespace {

using BoxLoop = GameOnWin32;

const toolkit::InputBoxRequest kRequest{engine::kDelayPrompt, engine::kDelayTitle, engine::kDelayDefault,
                                        engine::kBoxPositionTwips, engine::kBoxPositionTwips};

void type_into(HWND edit, const wchar_t* text) { SetWindowTextW(edit, text); }

TEST_F(BoxLoop, each_way_of_answering_returns_its_text) {
    const struct {
        const char* way;
        std::function<void(BoxWindow&)> answer;
        std::string expected;
    } ways[] = {
        {"Enter on the offered answer", [](BoxWindow& b) { post_key(b.edit(), VK_RETURN); }, "50"},
        {"typed, then Enter held", [](BoxWindow& b) { type_into(b.edit(), L"75,5 ё"); post_key(b.edit(), VK_RETURN, 5); },
         "75,5 ё"},
        {"ОК clicked", [](BoxWindow& b) { PostMessageW(GetDlgItem(b.handle(), IDOK), BM_CLICK, 0, 0); }, "50"},
        {"Escape", [](BoxWindow& b) { type_into(b.edit(), L"20"); post_key(b.edit(), VK_ESCAPE); }, ""},
        {"Отмена clicked", [](BoxWindow& b) { PostMessageW(GetDlgItem(b.handle(), IDCANCEL), BM_CLICK, 0, 0); }, ""},
        {"closed from its frame", [](BoxWindow& b) { PostMessageW(b.handle(), WM_CLOSE, 0, 0); }, ""},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        when_a_box_opens(runtime, w.answer);
        EXPECT_EQ(runtime.input_box(kRequest), w.expected);
        EXPECT_FALSE(runtime.ending());
    }
}

TEST_F(BoxLoop, the_box_shows_the_request_at_its_place_with_the_default_answer_selected_and_belongs_to_the_court) {
    when_a_box_opens(runtime, [&](BoxWindow& b) {
        EXPECT_EQ(text_of(b.handle()), kRequest.title);
        EXPECT_EQ(text_of(GetWindow(b.handle(), GW_CHILD)), kRequest.prompt);
        EXPECT_EQ(text_of(b.edit()), "50");
        DWORD from = 99, to = 99;
        SendMessageW(b.edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, 2u);
        EXPECT_EQ(GetFocus(), b.edit());
        EXPECT_EQ(text_of(GetDlgItem(b.handle(), IDOK)), toolkit::texts::kOk);
        EXPECT_EQ(text_of(GetDlgItem(b.handle(), IDCANCEL)), toolkit::texts::kCancel);
        EXPECT_EQ(GetWindow(b.handle(), GW_OWNER), window(court).handle());
        RECT frame{};
        GetWindowRect(b.handle(), &frame);
        const int at = toolkit::win32::to_pixels(engine::kBoxPositionTwips / 20.0, toolkit::win32::dpi_of(b.handle()));
        EXPECT_EQ(frame.left, at);
        EXPECT_EQ(frame.top, at);
        post_key(b.edit(), VK_RETURN);
    });
    runtime.input_box(kRequest);
}

TEST_F(BoxLoop, the_players_input_to_the_forms_is_dropped_while_a_box_is_open) {
    const float racket_left = court.b_racket.left();
    when_a_box_opens(runtime, [&](BoxWindow& b) {
        PostMessageW(window(court).handle(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 300));
        HWND leave = control_window(hello, hello.CommandButton2);
        PostMessageW(leave, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(leave, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        post_key(leave, VK_SPACE);
        post_key(b.edit(), VK_RETURN);
    });
    EXPECT_EQ(runtime.input_box(kRequest), "50");
    EXPECT_EQ(court.b_racket.left(), racket_left);
    EXPECT_FALSE(runtime.ending());
}

TEST_F(BoxLoop, closing_either_form_behind_a_box_ends_the_program_from_there) {
    for (const toolkit::Form* form : {static_cast<const toolkit::Form*>(&court), static_cast<const toolkit::Form*>(&hello)}) {
        SCOPED_TRACE(form->name());
        Win32Runtime own;
        forms::Program game(own);
        game.start();
        HWND target = own.window_of(form == &court ? static_cast<const toolkit::Form&>(game.court())
                                                   : static_cast<const toolkit::Form&>(game.hello()))
                          ->handle();
        when_a_box_opens(own, [target](BoxWindow&) { PostMessageW(target, WM_CLOSE, 0, 0); });
        EXPECT_THROW(own.input_box(kRequest), toolkit::ProgramEnding);
        EXPECT_TRUE(own.ending());
        EXPECT_EQ(own.run(), 0);
    }
}

TEST_F(BoxLoop, an_unhandled_error_shows_its_russian_message_and_the_game_goes_on) {
    std::string title, text;
    when_a_box_opens(runtime, [&](BoxWindow& b) {
        title = text_of(b.handle());
        text = text_of(GetWindow(b.handle(), GW_CHILD));
        EXPECT_FALSE(b.edit());
        post_key(GetDlgItem(b.handle(), IDOK), VK_RETURN);
    });
    bool after = false;
    runtime.dispatch([] { throw toolkit::RunTimeError(toolkit::texts::kOverflow); });
    runtime.dispatch([&] { after = true; });
    EXPECT_EQ(title, toolkit::texts::kErrorBoxTitle);
    EXPECT_EQ(text, std::string(toolkit::texts::kErrorBoxLead) + toolkit::texts::kOverflow);
    EXPECT_TRUE(after);
    EXPECT_FALSE(runtime.ending());
}

}  // namespace
}  // namespace win32_test
