#include "toolkit/qt/picture.h"

#include <QFileInfo>
#include <QImageReader>

namespace toolkit::qt {

namespace {

void read_by_name(QImageReader& reader, const QString& name) {
    reader.setFileName(name);
    reader.setFormat(QFileInfo(name).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
}

}  // namespace

QPixmap load_picture(const QString& name) {
    if (name.isEmpty()) return {};
    QImageReader reader;
    read_by_name(reader, name);
    return QPixmap::fromImage(reader.read());
}

QIcon load_icon(const QStringList& names) {
    QIcon icon;
    for (const QString& name : names) icon.addPixmap(load_picture(name));
    return icon;
}

PicturePart load_centred_picture(const QString& name, QSize shown) {
    if (name.isEmpty()) return {};
    QImageReader reader;
    read_by_name(reader, name);
    const QSize natural = reader.size();
    // Where the picture's top-left corner stands in the area, and what of it shows.
    const QPoint corner((shown.width() - natural.width()) / 2, (shown.height() - natural.height()) / 2);
    const QRect part = QRect(-corner, shown) & QRect(QPoint(), natural);
    if (part.isEmpty()) return {};
    if (part != QRect(QPoint(), natural)) reader.setClipRect(part);
    return {reader.read(), corner + part.topLeft()};
}

CentredPicture::CentredPicture(const QString& name, QSize shown) {
    if (!name.isEmpty()) reading_ = std::async(std::launch::async, load_centred_picture, name, shown);
}

void CentredPicture::draw(QPainter& painter) {
    if (reading_.valid()) part_ = reading_.get();
    if (!part_.image.isNull()) painter.drawImage(part_.at, part_.image);
}

void CentredPicture::draw(QPainter& painter, const QRect& place) {
    if (reading_.valid()) part_ = reading_.get();
    const QRect shown = place & QRect(part_.at, part_.image.size());
    if (!shown.isEmpty()) painter.drawImage(shown, part_.image, shown.translated(-part_.at));
}

}  // namespace toolkit::qt
