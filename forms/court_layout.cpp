#include "forms/court_layout.h"

#include "forms/himetric.h"
#include "forms/palette.h"

namespace forms {

using toolkit::Color;
using toolkit::ControlGeometry;
using toolkit::ControlLook;

namespace {

toolkit::ControlDesign button(ControlGeometry geometry, std::string caption, ControlLook look) {
    return {toolkit::ControlKind::command_button, geometry, std::move(caption), std::move(look)};
}

ControlLook racket_look(Color back, int tab_index, std::string description) {
    ControlLook look;
    look.back = back;
    look.fore = kLightYellow;
    look.font = {"Tahoma", 9.0f, true};
    look.tab_index = tab_index;
    look.description = std::move(description);
    return look;
}

ControlLook bar_look(Color back, int tab_index, std::string description) {
    ControlLook look;
    look.back = back;
    look.font = {"Tahoma", 8.25f, false};
    look.tab_index = tab_index;
    look.description = std::move(description);
    return look;
}

}  // namespace

engine::CourtDesign court_design() {
    engine::CourtDesign d;
    d.form.caption = "Quindle1 - frm_court (Form)";
    d.form.client_width_twips = 8592;
    d.form.client_height_twips = 8304;
    d.form.designed_left_twips = 1236;
    d.form.designed_top_twips = 1440;
    d.form.back = kCourtPink;
    d.form.font = {"Tahoma", 7.8f, false};
    d.form.picture = ":/art/court.jpg";

    d.ball.kind = toolkit::ControlKind::image;
    d.ball.geometry = himetric(8255, 7620, 1482, 1482);
    d.ball.look.back = kCourtPink;
    d.ball.look.back_transparent = true;
    d.ball.look.picture = ":/art/ball.gif";
    d.ball.look.tab_index = 4;
    d.ball.look.description = "Теннисный мяч";

    // The rackets' captions are the scores; the bars wear down with every point.
    d.racket = button(himetric(6033, 12938, 1693, 635), "0", racket_look(kRed, 0, "Твоя ракетка, на ней твой счёт"));
    d.wall = button(himetric(106, 106, 14922, 635), "",
                    bar_look(kRed, 1, "Стенка соперника: твои очки её стачивают; щелчок останавливает игру"));
    d.goal = button(himetric(106, 13970, 14922, 635), "",
                    bar_look(kDarkBlue, 2, "Твои ворота: очки соперника их стачивают"));
    d.goal.look.enabled = false;  // the goal bar takes no clicks and no focus
    d.opponent =
        button(himetric(6350, 1058, 1693, 635), "0", racket_look(kBlue, 3, "Ракетка соперника, на ней его счёт"));
    return d;
}

}  // namespace forms
