#include "bench/two_windows.h"

#include "forms/court_layout.h"
#include "forms/hello_layout.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_look.h"
#include "toolkit/units.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

// The texts, colours, fonts and places come from the game's designs and go
// through the same conversions to Qt's (the same pixels, the same faces); the
// pictures are read as the game reads them, the court's on a second core. So
// the difference to the game is what its toolkit adds: forms, controls,
// their observers, the runtime, accessibility and the game's own painting.
namespace bench {
namespace {

using toolkit::qt::client_pixel_size;
using toolkit::qt::to_qcolor;

// A window of the given back colour with a picture centred at its natural size.
class PictureWindow : public QWidget {
public:
    explicit PictureWindow(const toolkit::FormLook& look)
        : back_(to_qcolor(look.back)), picture_(toolkit::qt::to_qstring(look.picture), client_pixel_size(look)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), back_);
        picture_.draw(p);
    }

private:
    QColor back_;
    toolkit::qt::CentredPicture picture_;
};

void place(QWidget& w, const toolkit::ControlDesign& d) {
    w.setGeometry(toolkit::qt::to_pixel_rect(d.geometry));
    w.setFont(toolkit::qt::to_qfont(d.look.font));
}

void colour(QWidget& w, QPalette::ColorRole back, const toolkit::ControlLook& look, QPalette::ColorRole fore) {
    QPalette palette = w.palette();
    palette.setColor(back, to_qcolor(look.back));
    palette.setColor(fore, to_qcolor(look.fore));
    w.setPalette(palette);
}

void add_button(QWidget& window, const toolkit::ControlDesign& d) {
    auto* button = new QPushButton(toolkit::qt::caption_text(d.caption), &window);
    place(*button, d);
    colour(*button, QPalette::Button, d.look, QPalette::ButtonText);
    // A face of one colour, as the game's buttons have, not the style's gradient.
    button->setFlat(true);
    button->setAutoFillBackground(true);
    button->setEnabled(d.look.enabled);
}

void add_label(QWidget& window, const toolkit::ControlDesign& d) {
    auto* label = new QLabel(toolkit::qt::caption_text(d.caption), &window);
    place(*label, d);
    colour(*label, QPalette::Window, d.look, QPalette::WindowText);
    label->setAutoFillBackground(true);
    label->setWordWrap(d.look.word_wrap);
    label->setAlignment(Qt::AlignTop |
                        (d.look.alignment == toolkit::TextAlignment::centre ? Qt::AlignHCenter : Qt::AlignLeft));
}

void add_image(QWidget& window, const toolkit::ControlDesign& d) {
    auto* image = new QLabel(&window);
    place(*image, d);
    image->setPixmap(toolkit::qt::load_picture(toolkit::qt::to_qstring(d.look.picture)));
    image->setScaledContents(true);
}

void frame(QWidget& window, const toolkit::FormLook& look) {
    window.setWindowTitle(toolkit::qt::to_qstring(look.caption));
    window.setFixedSize(client_pixel_size(look));
    window.move(toolkit::qt::to_pixels(look.designed_left_twips / toolkit::kTwipsPerPoint),
                toolkit::qt::to_pixels(look.designed_top_twips / toolkit::kTwipsPerPoint));
    window.setFont(toolkit::qt::to_qfont(look.font));
}

}  // namespace

TwoWindows make_two_windows() {
    const engine::CourtDesign c = forms::court_design();
    auto court = std::make_unique<PictureWindow>(c.form);
    frame(*court, c.form);
    // In stacking order, back to front: the ball behind the rackets and bars.
    add_image(*court, c.ball);
    for (const auto* d : {&c.racket, &c.wall, &c.goal, &c.opponent}) add_button(*court, *d);

    const forms::HelloDesign h = forms::hello_design();
    // A dialog-type child window: Qt makes the court its transient owner.
    auto* welcome = new QWidget(court.get(), Qt::Dialog);
    frame(*welcome, h.form);
    QPalette palette = welcome->palette();
    palette.setColor(QPalette::Window, to_qcolor(h.form.back));
    welcome->setPalette(palette);
    welcome->setAutoFillBackground(true);
    add_label(*welcome, h.title);
    add_button(*welcome, h.play);
    add_button(*welcome, h.leave);
    add_label(*welcome, h.credit);
    return {std::move(court), welcome};
}

}  // namespace bench
