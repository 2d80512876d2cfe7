// artgen: draws the game's artwork.
//
//   artgen ART-DIR BALL-PNG
//
// writes ART-DIR/court.jpg and ART-DIR/icons/bounzo-<N>.png, and the 69-pixel
// ball with its alpha channel to BALL-PNG (tools/make-art turns it into the
// palette GIF the game loads).

#include "ball.h"
#include "court.h"

#include <QDir>
#include <QImageWriter>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kBallSize = 69;
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kCourtQuality = 90;
constexpr int kDotsPerMeter = 3780; // 96 dpi

void save(QImage image, const QString &path, int quality = -1)
{
    // A fixed resolution keeps the files identical wherever they are made.
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);

    QImageWriter writer(path);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        std::fprintf(stderr, "artgen: %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        std::exit(EXIT_FAILURE);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: artgen ART-DIR BALL-PNG\n");
        return EXIT_FAILURE;
    }
    const QDir art(QString::fromLocal8Bit(argv[1]));
    if (!art.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "artgen: cannot create %s/icons\n", argv[1]);
        return EXIT_FAILURE;
    }

    save(drawCourt(), art.filePath(QStringLiteral("court.jpg")), kCourtQuality);
    for (int size : kIconSizes)
        save(drawBall(size), art.filePath(QStringLiteral("icons/bounzo-%1.png").arg(size)));
    save(drawBall(kBallSize), QString::fromLocal8Bit(argv[2]));
    return EXIT_SUCCESS;
}
