#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

namespace toolkit::qt {

// Shows a window inside its owner's client area, centred on it, under a
// caption bar of its own (the window's title and a close button), for
// platforms where a separate window cannot be kept over its owner. The
// content keeps being shown, hidden and closed as before: the frame follows
// it. The owner owns the frame; the content's lifetime stays its own: the
// frame lets go of it when it goes.
class EmbeddedFrame : public QWidget {
public:
    EmbeddedFrame(QWidget& content, QWidget& owner);
    ~EmbeddedFrame() override;

    // The frame around `content`, or nothing when it stands on its own.
    static EmbeddedFrame* of(const QWidget& content);
    // Whether `w` is a caption's close button: a close request, not input
    // that an open box keeps from the windows.
    static bool is_close_button(const QWidget& w);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The keyboard goes round the content's controls, never out to the owner's.
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void appear();
    void centre();

    QPointer<QWidget> content_;
    QLabel* caption_;
};

}  // namespace toolkit::qt
