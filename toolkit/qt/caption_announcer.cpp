#include "toolkit/qt/caption_announcer.h"

#include <QAccessible>
#include <QWidget>

namespace toolkit::qt {

CaptionAnnouncer::CaptionAnnouncer(QWidget& window) : QObject(&window), window_(window) {}

void CaptionAnnouncer::announce(const QString& caption, const QString& description) {
    caption_ = caption;
    description_ = description;
    // Qt's bridge passes this on as the notification's showing state turned on.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace toolkit::qt
