#include "toolkit/qt/maximise_refusal.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace toolkit::qt {
namespace {

constexpr Qt::WindowStates kFillingStates = Qt::WindowMaximized | Qt::WindowFullScreen;

}  // namespace

MaximiseRefusal::MaximiseRefusal(QWidget& window)
    : QObject(&window), window_(window) {
    window.winId();
    window.installEventFilter(this);
    // Qt's Wayland decoration offers maximise on every window and asks the
    // compositor at once; this runs before that request leaves the process.
    if (QGuiApplication::platformName() != "wayland") return;
    connect(window.windowHandle(), &QWindow::windowStateChanged, this, [this](Qt::WindowState state) {
        if (kFillingStates.testFlag(state)) window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    });
}

// Only the platform's own reports count: they say what the desktop did. The
// state is handed back once the platform has taken it in, after this report.
bool MaximiseRefusal::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::WindowStateChange || !event->spontaneous()) return false;
    if (window_.windowState() & kFillingStates) {
        QMetaObject::invokeMethod(this, [this] {
            if (QWindow* handle = window_.windowHandle(); handle && handle->windowStates() & kFillingStates)
                handle->setWindowStates(handle->windowStates() & ~kFillingStates);
        }, Qt::QueuedConnection);
    } else if (window_.maximumSize() != window_.minimumSize()) {
        window_.setFixedSize(window_.minimumSize());
    }
    return false;
}

}  // namespace toolkit::qt
