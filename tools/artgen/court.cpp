#include "court.h"

#include <QPainter>

namespace {

constexpr int kWidth = 721;
constexpr int kHeight = 722;

// The field is left plain everywhere outside the net, so the game (and its
// tests) can count on the cream colour away from the net.
const QColor kField(255, 248, 241);
const QColor kFrame(196, 30, 38);
const QColor kFrameEdge(140, 18, 26);
const QColor kMarking(250, 208, 40);
const QColor kMesh(150, 150, 150);
const QColor kCord(110, 110, 110);

// Net geometry in pixels; edges lie on pixel boundaries so the frame is crisp.
constexpr int kLeft = 4;
constexpr int kRight = 718;
constexpr int kTop = 338;
constexpr int kBottom = 412;
constexpr int kPost = 9;   // post width
constexpr int kBand = 10;  // head band height
constexpr int kCell = 8;   // mesh cell size
constexpr int kCordHeight = 2;

void drawMesh(QPainter &p)
{
    const int left = kLeft + kPost;
    const int right = kRight - kPost;
    const int top = kTop + kBand;
    const int bottom = kBottom - kCordHeight;

    // One-pixel lines through pixel centres stay sharp under antialiasing.
    p.setPen(QPen(kMesh, 1));
    for (int x = left + kCell; x < right; x += kCell)
        p.drawLine(QPointF(x + 0.5, top), QPointF(x + 0.5, bottom));
    for (int y = top + kCell; y < bottom; y += kCell)
        p.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));

    p.fillRect(QRect(left, bottom, right - left, kCordHeight), kCord);
}

void drawFramePiece(QPainter &p, const QRect &r)
{
    p.fillRect(r, kFrameEdge);
    p.fillRect(r.adjusted(1, 1, -1, -1), kFrame);
}

void drawFrame(QPainter &p)
{
    const int height = kBottom - kTop;
    drawFramePiece(p, QRect(kLeft, kTop, kPost, height));
    drawFramePiece(p, QRect(kRight - kPost, kTop, kPost, height));
    drawFramePiece(p, QRect(kLeft, kTop, kRight - kLeft, kBand));

    // Yellow markings: a strip on the head band near each end and two
    // blocks on each post, placed symmetrically.
    const QRect bandMark(kLeft + kPost + 6, kTop + 3, 20, kBand - 6);
    const QRect postMarks[] = {
        QRect(kLeft + 2, kTop + kBand + 10, kPost - 4, 8),
        QRect(kLeft + 2, kTop + kBand + 36, kPost - 4, 8),
    };
    const auto mirrored = [](const QRect &r) {
        return QRect(kLeft + kRight - r.x() - r.width(), r.y(), r.width(), r.height());
    };
    for (const QRect &r : {bandMark, postMarks[0], postMarks[1]}) {
        p.fillRect(r, kMarking);
        p.fillRect(mirrored(r), kMarking);
    }
}

} // namespace

QImage drawCourt()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kField);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawMesh(p);
    drawFrame(p);
    return image;
}
