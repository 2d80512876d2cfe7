#pragma once

#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>

namespace toolkit::qt {

// Reads a picture in the format its name ends in (.jpg, .gif, .png). Qt's
// usual reading of a name whose format has no plugin of its own, as a png's,
// loads every image-format plugin installed only to ask each whether it reads
// that format (an svg one pulls in Qt Svg as well); here only the plugin of
// the named format is ever loaded. No picture, or none that reads, is null.
QPixmap load_picture(const QString& name);

// The part of a picture that an area of size `shown`, centred on it at its
// natural size, shows, and where that part stands in the area. Only that part
// is decoded: less to unpack and convert at start for a picture larger than
// its window.
struct PicturePart {
    QPixmap pixmap;
    QPoint at;
};
PicturePart load_centred_picture(const QString& name, QSize shown);

}  // namespace toolkit::qt
