#include "forms/hello_layout.h"

#include "forms/himetric.h"

namespace forms {

using toolkit::Color;
using toolkit::ControlKind;
using toolkit::ControlLook;

namespace {

constexpr Color kFace = Color::of_system(Color::System::button_face);
constexpr Color kScrollBar = Color::of_system(Color::System::scroll_bar);

ControlLook label_look(Color back, toolkit::Font font, toolkit::TextAlignment alignment, int tab_index) {
    ControlLook look;
    look.back = back;
    look.font = std::move(font);
    look.alignment = alignment;
    look.word_wrap = true;
    look.tab_stop = false;
    look.tab_index = tab_index;
    return look;
}

ControlLook button_look(int tab_index, std::string description) {
    ControlLook look;
    look.back = kFace;
    look.font = {"Tahoma", 9.75f, true};
    look.tab_index = tab_index;
    look.description = std::move(description);
    return look;
}

}  // namespace

HelloDesign hello_design() {
    HelloDesign d;
    d.form.caption = "Bounzo " + kCredit;
    d.form.client_width_twips = 6288;
    d.form.client_height_twips = 5508;
    d.form.designed_left_twips = 2268;
    d.form.designed_top_twips = 2568;
    d.form.back = kScrollBar;
    d.form.font = {"Tahoma", 7.8f, false};

    // The title ends with a line break, and the credit begins with one, so the
    // credit stands on its second line, inside the lower part of the title's band.
    d.title = {ControlKind::label, himetric(1693, 1693, 7832, 2222), "ДЕТСКИЙ  БАУНЗО\r\n",
               label_look(kFace, {"Tahoma", 22.2f, false}, toolkit::TextAlignment::centre, 0)};
    d.play = {ControlKind::command_button, himetric(3598, 4233, 3598, 1058), "ИГРАТЬ", button_look(1, "Начать игру")};
    d.leave = {ControlKind::command_button, himetric(3598, 6032, 3598, 1058), "ВЫЙТИ",
               button_look(2, "Закончить игру и закрыть окна")};
    d.credit = {ControlKind::label, himetric(3809, 2751, 3175, 1058), "\r\n" + kCredit,
                label_look(kScrollBar, {"Tahoma", 10.2f, false}, toolkit::TextAlignment::left, 3)};
    return d;
}

}  // namespace forms
