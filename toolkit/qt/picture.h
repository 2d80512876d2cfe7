#pragma once

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <future>

namespace toolkit::qt {

// Reads a picture in the format its name ends in (.jpg, .gif, .png). Qt's
// usual reading of a name whose format has no plugin of its own, as a png's,
// loads every image-format plugin installed only to ask each whether it reads
// that format (an svg one pulls in Qt Svg as well); here only the plugin of
// the named format is ever loaded. No picture, or none that reads, is null.
QPixmap load_picture(const QString& name);

// An icon of pictures of several sizes, read as load_picture reads them.
QIcon load_icon(const QStringList& names);

// The part of a picture that an area of size `shown`, centred on it at its
// natural size, shows, and where that part stands in the area. Only that part
// is decoded: less to unpack and convert at start for a picture larger than
// its window.
struct PicturePart {
    QImage image;  // an image, not a pixmap, so that any thread may read it
    QPoint at;
};
PicturePart load_centred_picture(const QString& name, QSize shown);

// A window's background picture, centred at its natural size: read on a
// thread of its own from the moment the window is made, so the decoding
// overlaps the rest of the program's start on another core; the first paint
// waits for it if need be. It is drawn as the image it was read into: on the
// raster engine a pixmap is an image too, and making one would only copy it.
class CentredPicture {
public:
    CentredPicture(const QString& name, QSize shown);
    void draw(QPainter& painter);
    // Only what falls on `place`, in the painter's unscaled coordinates.
    void draw(QPainter& painter, const QRect& place);

private:
    // The picture, once its reading is done.
    const PicturePart& part();

    std::future<PicturePart> reading_;
    PicturePart part_;
};

}  // namespace toolkit::qt
