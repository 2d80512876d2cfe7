#include "toolkit/qt/form_window.h"

#include "toolkit/form.h"
#include "toolkit/qt/accessible_controls.h"
#include "toolkit/qt/caption_announcer.h"
#include "toolkit/qt/control_widgets.h"
#include "toolkit/qt/fit_to_screen.h"
#include "toolkit/qt/maximise_refusal.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_look.h"
#include "toolkit/runtime.h"
#include "toolkit/units.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>

namespace toolkit::qt {

FormWindow::FormWindow(Form& form, Runtime& runtime)
    : QWidget(nullptr),
      form_(&form),
      runtime_(runtime),
      // The picture has its natural size at scale 1.
      background_(to_qstring(form.look().picture), unscaled_client_size(form.look()).toSize()),
      announcer_(new CaptionAnnouncer(*this)) {
    install_accessible_controls();
    const FormLook& look = form.look();
    setWindowTitle(to_qstring(look.caption));
    // A fixed-size window offers no maximise button (and refuses, below, a
    // maximise that comes anyway).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setMouseTracking(true);

    std::multimap<int, QWidget*> focus_order;
    for (const auto& c : form.controls()) {
        QWidget* w = make_control_widget(*c, this);
        widgets_[c.get()] = w;
        c->set_observer(this);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            Control& control = *c;
            connect(button, &QAbstractButton::clicked, this,
                    [this, &control] { runtime_.dispatch([this, &control] { form_->clicked(control); }); });
        }
        if (w->focusPolicy() != Qt::NoFocus) focus_order.emplace(c->look().tab_index, w);
    }
    for (const auto& [index, w] : focus_order) {
        if (!tab_order_.empty()) setTabOrder(tab_order_.back(), w);
        tab_order_.push_back(w);
    }
    lay_out_at_screen_scale();
    new MaximiseRefusal(*this);
}

void FormWindow::lay_out_at_screen_scale() {
    if (!form_) return;
    setFixedSize(client_pixel_size(form_->look()));
    setFont(to_qfont(form_->look().font));
    for (const auto& c : form_->controls()) {
        QWidget* w = widgets_.at(c.get());
        w->setFont(to_qfont(c->look().font));
        w->setGeometry(to_pixel_rect({c->left(), c->top(), c->width(), c->height()}));
    }
}

void FormWindow::detach() {
    if (!form_) return;
    for (const auto& c : form_->controls()) c->set_observer(nullptr);
    form_ = nullptr;
}

QWidget* FormWindow::widget_of(const Control& control) const {
    const auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

void FormWindow::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (!form_) return;
    const QColor back = to_qcolor(form_->look().back);
    // Centred at its natural size and clipped by the window, never tiled; on
    // a screen too small for the court it shrinks with everything else, so
    // the court shows the same part of it.
    if (screen_scale() != 1.0) {
        p.fillRect(rect(), back);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.scale(screen_scale(), screen_scale());
        background_.draw(p);
        return;
    }
    // Place by place: a rally repaints where its pieces were and are, and one
    // picture drawn through all of them at once is drawn over their bounding
    // rows, which Qt's raster engine hands to its thread pool once they are
    // about a hundred.
    for (const QRect& place : event->region()) {
        p.fillRect(place, back);
        background_.draw(p, place);
    }
}

void FormWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!form_) return;
    const QPointF at = to_points(event->position());
    const auto button = static_cast<std::int16_t>(event->buttons() & 0x7);
    const auto shift = static_cast<std::int16_t>((event->modifiers() & Qt::ShiftModifier ? 1 : 0) |
                                                 (event->modifiers() & Qt::ControlModifier ? 2 : 0) |
                                                 (event->modifiers() & Qt::AltModifier ? 4 : 0));
    Form& form = *form_;
    runtime_.dispatch([&] { form.mouse_moved(button, shift, static_cast<float>(at.x()), static_cast<float>(at.y())); });
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The form decides what closing means; the window never closes by itself.
    event->ignore();
    request_close();
}

void FormWindow::showEvent(QShowEvent* event) {
    // Each time the program shows the form, the keyboard starts at its first
    // control in tab order, wherever the focus was when it was hidden; a
    // window coming back from the desktop's minimise keeps its focus.
    if (event->spontaneous()) return;
    const auto first = std::find_if(tab_order_.begin(), tab_order_.end(), [](QWidget* w) { return w->isEnabled(); });
    if (first != tab_order_.end()) (*first)->setFocus(Qt::OtherFocusReason);
}

void FormWindow::stay_above(FormWindow& owner) {
    // On X11 Qt writes the transient hint (WM_TRANSIENT_FOR), which window
    // managers follow to keep a window above its owner, only for dialog-type
    // windows. The type sets no modality, so the owner still takes clicks.
    if (windowType() != Qt::Dialog) setWindowFlag(Qt::Dialog);
    set_transient_parent(*this, owner);
}

void set_transient_parent(QWidget& window, QWidget& owner) {
    window.winId();
    owner.winId();
    window.windowHandle()->setTransientParent(owner.windowHandle());
}

void FormWindow::request_close() {
    if (!form_) return;
    Form& form = *form_;
    runtime_.dispatch([&] { form.close_requested(); });
}

void FormWindow::property_changed(const Control& control, Property property) {
    QWidget* w = widget_of(control);
    if (!w) return;
    if (property == Property::caption) {
        w->update();
        // Assistive tools that watch a control follow its caption through
        // its name; a screen reader hears it through the announcement.
        QAccessibleEvent event(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
        announcer_->announce(caption_text(control.caption()), to_qstring(control.look().description));
        return;
    }
    w->setGeometry(to_pixel_rect({control.left(), control.top(), control.width(), control.height()}));
}

}  // namespace toolkit::qt
