#pragma once

#include <QObject>

class QWidget;

namespace toolkit::qt {

// Keeps a fixed-size window at its size whatever maximises it: the desktop's
// maximise or fullscreen state is handed straight back. On Wayland a window
// that acknowledges the compositor's maximised state must then fill the
// compositor's size exactly (weston ends a client that does not), so there
// the size limit is lifted for that round trip and put back when the window
// is normal again. The fixed size is the window's minimum size, which is
// left alone throughout, so the window may be given a new one at any time.
class MaximiseRefusal : public QObject {
public:
    // Becomes a child of the window.
    explicit MaximiseRefusal(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
};

}  // namespace toolkit::qt
