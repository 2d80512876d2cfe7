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

const PicturePart& CentredPicture::part() {
    if (reading_.valid()) part_ = reading_.get();
    return part_;
}

void CentredPicture::draw(QPainter& painter) {
    const PicturePart& p = part();
    if (!p.image.isNull()) painter.drawImage(p.at, p.image);
}

void CentredPicture::draw(QPainter& painter, const QRect& place) {
    const PicturePart& p = part();
    const QRect shown = place & QRect(p.at, p.image.size());
    if (!shown.isEmpty()) painter.drawImage(shown, p.image, shown.translated(-p.at));
}

}  // namespace toolkit::qt
