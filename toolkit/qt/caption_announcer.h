#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace toolkit::qt {

// Tells screen readers of every caption that changes while the program runs
// (the scores on the rackets), whatever has the focus. A caption's own
// name-changed event does not do it: Orca speaks a new name only for the
// focused object, and Qt's AT-SPI bridge sends the object where the name
// belongs. An announcement is an invisible notification, named by the new
// caption exactly as written and described as the control is, that reports
// itself shown: that Orca speaks wherever the focus is. It belongs to its
// window, but is no widget, so it is none of the window's accessible
// children: those are the controls.
class CaptionAnnouncer : public QObject {
public:
    explicit CaptionAnnouncer(QWidget& window);

    QWidget& window() const { return window_; }

    void announce(const QString& caption, const QString& description);

    const QString& caption() const { return caption_; }
    const QString& description() const { return description_; }

private:
    QWidget& window_;
    QString caption_;
    QString description_;
};

}  // namespace toolkit::qt
