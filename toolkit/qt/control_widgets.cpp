#include "toolkit/qt/control_widgets.h"

#include "toolkit/qt/key_repeats.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_look.h"

#include <QKeyEvent>
#include <QPainter>

namespace toolkit::qt {
namespace {

// Moves over a control are the control's own; they never reach the form
// underneath, so only the form's free surface steers the racket.
void keep_mouse_moves(QWidget* w) { w->setAttribute(Qt::WA_NoMousePropagation); }

void draw_bevel(QPainter& p, const QRect& r, bool sunken) {
    const QColor light(255, 255, 255), shadow(128, 128, 128), dark(0, 0, 0);
    p.setPen(sunken ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (!sunken && r.width() > 2 && r.height() > 2) {
        p.setPen(shadow);
        p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
        p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
    }
}

// Space, Enter and keypad Enter press a button.
bool is_pressing_key(const QEvent& event) {
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease) return false;
    const int key = static_cast<const QKeyEvent&>(event).key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

ButtonWidget::ButtonWidget(const Control& control, QWidget* parent) : QAbstractButton(parent), control_(control) {
    const ControlLook& look = control.look();
    setEnabled(look.enabled);
    setFocusPolicy(look.tab_stop ? Qt::StrongFocus : Qt::NoFocus);
    keep_mouse_moves(this);
}

ButtonWidget::Face ButtonWidget::face() const {
    const ControlLook& look = control_.look();
    const qreal ratio = devicePixelRatioF();
    return {(QSizeF(size()) * ratio).toSize(), ratio, caption_text(control_.caption()), font(),
            to_qcolor(look.fore).rgba(), to_qcolor(look.back).rgba(), isEnabled(), isDown(), hasFocus()};
}

void ButtonWidget::paintEvent(QPaintEvent*) {
    Face now = face();
    if (drawn_.isNull() || !(now == drawn_face_)) {
        drawn_ = QPixmap(now.pixels);
        drawn_.setDevicePixelRatio(now.ratio);
        QPainter p(&drawn_);
        p.setFont(now.font);
        draw_face(p, now);
        drawn_face_ = std::move(now);
    }
    QPainter(this).drawPixmap(0, 0, drawn_);
}

void ButtonWidget::draw_face(QPainter& p, const Face& face) const {
    const QRect r = rect();
    p.fillRect(r, QColor::fromRgba(face.back));
    draw_bevel(p, r, face.down);
    if (face.text.isEmpty()) return;
    const QRect area = r.adjusted(2, 2, -2, -2).translated(face.down ? QPoint(1, 1) : QPoint());
    if (!face.enabled) {
        // Engraved text, as disabled buttons draw it.
        p.setPen(QColor(255, 255, 255));
        p.drawText(area.translated(1, 1), Qt::AlignCenter, face.text);
        p.setPen(QColor(128, 128, 128));
    } else {
        p.setPen(QColor::fromRgba(face.fore));
    }
    p.drawText(area, Qt::AlignCenter, face.text);
    if (face.focus) {
        p.setPen(QPen(QColor::fromRgba(face.fore), 1, Qt::DotLine));
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

bool ButtonWidget::event(QEvent* event) {
    if (!is_pressing_key(*event)) {
        if (event->type() == QEvent::FocusOut) keys_.forget();
        return QAbstractButton::event(event);
    }
    // The button goes down on a key's press and clicks on its release, once
    // however long the key is held; so no key is left over for a box the
    // click opens, and a key held on a box that has gone presses nothing.
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool repeat = repeats_held_key(key);
    const bool acts = event->type() == QEvent::KeyPress ? keys_.press(key.key(), repeat) : keys_.release(key.key(), repeat);
    if (acts) {
        // Qt's button takes Space so: down on its press, a click on its release.
        QKeyEvent space(event->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QAbstractButton::event(&space);
    }
    event->accept();
    return true;
}

LabelWidget::LabelWidget(const Control& control, QWidget* parent) : QWidget(parent), control_(control) {
    keep_mouse_moves(this);
}

void LabelWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const ControlLook& look = control_.look();
    if (!look.back_transparent) p.fillRect(rect(), to_qcolor(look.back));
    p.setPen(to_qcolor(look.fore));
    int flags = Qt::AlignTop | (look.alignment == TextAlignment::centre ? Qt::AlignHCenter : Qt::AlignLeft);
    if (look.word_wrap) flags |= Qt::TextWordWrap;
    p.drawText(rect(), flags, caption_text(control_.caption()));
}

ImageWidget::ImageWidget(const Control& control, QWidget* parent)
    : QWidget(parent), control_(control), picture_(load_picture(to_qstring(control.look().picture))) {
    keep_mouse_moves(this);
}

void ImageWidget::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (scaled_.size() != pixels || scaled_.devicePixelRatio() != ratio) {
        scaled_ = picture_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_.setDevicePixelRatio(ratio);
    }
    QPainter p(this);
    p.drawPixmap(0, 0, scaled_);
}

QWidget* make_control_widget(const Control& control, QWidget* parent) {
    switch (control.kind()) {
    case ControlKind::command_button: return new ButtonWidget(control, parent);
    case ControlKind::label: return new LabelWidget(control, parent);
    case ControlKind::image: return new ImageWidget(control, parent);
    }
    return nullptr;
}

}  // namespace toolkit::qt
