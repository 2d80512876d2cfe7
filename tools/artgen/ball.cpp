#include "ball.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <initializer_list>

namespace {

// The ball is laid out on a 69-unit square and scaled to the requested size.
constexpr double kUnit = 69.0;
const QPointF kCentre(34.5, 34.5);
constexpr double kRadius = 33.5;

const QColor kSeam(252, 253, 240);
const QColor kRim(128, 156, 22);
const QColor kLettering(34, 84, 28);

// Below this size the lettering would only blur into the felt, so icons that
// small show just the ball and its seam.
constexpr int kSmallestLettered = 32;

// Keeps a stroke at least minPixels wide however small the ball is drawn.
double strokeWidth(double units, double minPixels, double scale)
{
    return std::max(units, minPixels / scale);
}

void drawFelt(QPainter &p)
{
    // Lit from the upper left.
    QRadialGradient felt(QPointF(26, 24), 46);
    felt.setColorAt(0.0, QColor(234, 247, 122));
    felt.setColorAt(0.45, QColor(206, 229, 60));
    felt.setColorAt(1.0, QColor(152, 182, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(felt);
    p.drawEllipse(kCentre, kRadius, kRadius);
}

void drawSeam(QPainter &p, double scale)
{
    // Two curves bowing towards each other; they start and end outside the
    // ball and are clipped to it, so they run into the edge cleanly.
    QPainterPath left(QPointF(10, 5));
    left.cubicTo(QPointF(27, 20), QPointF(27, 49), QPointF(10, 64));
    QPainterPath right(QPointF(kUnit - 10, 5));
    right.cubicTo(QPointF(kUnit - 27, 20), QPointF(kUnit - 27, 49), QPointF(kUnit - 10, 64));

    QPainterPath clip;
    clip.addEllipse(kCentre, kRadius, kRadius);
    p.save();
    p.setClipPath(clip);
    p.setPen(QPen(kSeam, strokeWidth(2.6, 1.0, scale), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(left);
    p.drawPath(right);
    p.restore();
}

// A row of small blocks of varying width, centred on the ball, that reads as
// printed lettering without needing a font. Rows of odd total width land on
// whole pixels in the 69-pixel ball, which keeps its blocks crisp.
void drawLetteringRow(QPainter &p, double top, double height, std::initializer_list<double> widths)
{
    constexpr double gap = 1.0;
    double total = -gap;
    for (double w : widths)
        total += w + gap;

    double x = kCentre.x() - total / 2;
    for (double w : widths) {
        p.drawRect(QRectF(x, top, w, height));
        x += w + gap;
    }
}

void drawLettering(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kLettering);
    drawLetteringRow(p, 26, 4, {2, 2, 3, 2, 2});
    drawLetteringRow(p, 38, 3, {2, 3, 2});
}

void drawRim(QPainter &p, double scale)
{
    const double width = strokeWidth(1.0, 0.8, scale);
    const double radius = kRadius - width / 2;
    p.setPen(QPen(kRim, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(kCentre, radius, radius);
}

} // namespace

QImage drawBall(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    const double scale = size / kUnit;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    drawFelt(p);
    drawSeam(p, scale);
    if (size >= kSmallestLettered)
        drawLettering(p);
    drawRim(p, scale);
    return image;
}
