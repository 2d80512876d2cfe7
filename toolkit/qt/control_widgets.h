#pragma once

#include "toolkit/button_keys.h"
#include "toolkit/control.h"

#include <QAbstractButton>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

// The widgets that draw the toolkit's controls. Painting only reads the
// control's state; the form window keeps their geometry in step with it and
// gives them their fonts at the screen's scale.
namespace toolkit::qt {

// A command button in the classic raised style, in its own colours on every
// desktop. A disabled one keeps its colours and takes no clicks. With the
// focus, Space or Enter presses it, once for a key held down; it is never a
// window's default button.
class ButtonWidget : public QAbstractButton {
public:
    ButtonWidget(const Control& control, QWidget* parent);
    const Control& control() const { return control_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Everything the button's face is drawn from. A racket is repainted at
    // every move, and laying out its caption's text each time was most of
    // the cost; so the face is drawn once into a pixmap and drawn again only
    // when one of these has changed.
    struct Face {
        QSize pixels;
        qreal ratio = 1;
        QString text;
        QFont font;
        QRgb fore = 0, back = 0;
        bool enabled = true, down = false, focus = false;
        friend bool operator==(const Face&, const Face&) = default;
    };
    Face face() const;
    void draw_face(QPainter& p, const Face& face) const;

    const Control& control_;
    ButtonKeys keys_;
    Face drawn_face_;
    QPixmap drawn_;
};

class LabelWidget : public QWidget {
public:
    LabelWidget(const Control& control, QWidget* parent);
    const Control& control() const { return control_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Control& control_;
};

// A picture stretched over the control; where the picture is transparent the
// form behind it shows through.
class ImageWidget : public QWidget {
public:
    ImageWidget(const Control& control, QWidget* parent);
    const Control& control() const { return control_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Control& control_;
    QPixmap picture_;
    // The picture smoothly scaled to the widget's size in device pixels, made
    // again only when that size changes: the ball moves at every frame but
    // keeps its size, and scaling it at every paint was most of a frame's cost.
    QPixmap scaled_;
};

// The widget for a control of any kind.
QWidget* make_control_widget(const Control& control, QWidget* parent);

}  // namespace toolkit::qt
