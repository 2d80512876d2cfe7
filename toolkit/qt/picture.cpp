#include "toolkit/qt/picture.h"

#include <QFileInfo>
#include <QImageReader>

namespace toolkit::qt {

QPixmap load_picture(const QString& name) {
    if (name.isEmpty()) return {};
    QImageReader reader(name, QFileInfo(name).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace toolkit::qt
