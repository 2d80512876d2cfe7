#include "toolkit/qt/box_loop.h"

#include "toolkit/qt/embedded_frame.h"
#include "toolkit/qt/key_repeats.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace toolkit::qt {
namespace {

// What a player does with the pointer, the keyboard or a touch screen.
bool is_player_input(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

// Enter accepts a box on its press: held down, its repeats would answer the
// box that comes next (the prompt again, after a refused answer) as well.
bool is_repeated_enter(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && repeats_held_key(key);
}

}  // namespace

BoxLoop::BoxLoop(QDialog& box, const std::vector<QWidget*>& form_windows)
    : box_(box), form_windows_(form_windows.begin(), form_windows.end()) {
    QCoreApplication::instance()->installEventFilter(this);
}

BoxLoop::~BoxLoop() { QCoreApplication::instance()->removeEventFilter(this); }

void BoxLoop::run() {
    QEventLoop loop;
    connect(&box_, &QDialog::finished, &loop, &QEventLoop::quit);
    box_.show();
    box_.activateWindow();
    // The program's ending quits every event loop, this one included.
    loop.exec(QEventLoop::DialogExec);
    box_.hide();
}

// Events reach a form window's QWindow first, then its widgets. A box shown
// inside a form window takes its input there too: that window's events are
// sorted out by the widget they reach. A close button drawn on a caption
// there stands for the desktop's own, whose requests a box never holds back.
bool BoxLoop::blocks(const QObject* receiver) const {
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    const auto* handle = qobject_cast<const QWindow*>(receiver);
    if (!widget && !handle) return false;
    if (widget && (widget == &box_ || box_.isAncestorOf(widget) || EmbeddedFrame::is_close_button(*widget))) return false;
    return std::any_of(form_windows_.begin(), form_windows_.end(), [&](const QPointer<QWidget>& window) {
        if (!window) return false;
        if (widget) return widget->window() == window;
        return window->windowHandle() == handle && !window->isAncestorOf(&box_);
    });
}

bool BoxLoop::eventFilter(QObject* receiver, QEvent* event) {
    if (is_repeated_enter(*event)) return true;
    if (!blocks(receiver)) return false;
    if (event->type() == QEvent::WindowActivate && receiver->isWidgetType() &&
        static_cast<QWidget*>(receiver)->isWindow()) {
        // A window manager raises the window it activates.
        box_.activateWindow();
        return false;
    }
    return is_player_input(event->type());
}

}  // namespace toolkit::qt
