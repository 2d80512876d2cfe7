// The pictures as the windows read and draw them: only the image formats the
// game uses are loaded, and the ball's picture, scaled once for its size, is
// scaled again when that size changes.
#include "app/window_icon.h"
#include "toolkit/qt/picture.h"
#include "window_test_support.h"

#include <QApplication>
#include <QFile>

#include <set>

namespace window_test {
namespace {

using Pictures = GameWindows;

// The image-format plugins mapped into this process, by file name.
std::set<QString> image_plugins_loaded() {
    std::set<QString> names;
    QFile maps("/proc/self/maps");
    if (!maps.open(QIODevice::ReadOnly)) return names;
    const QStringList lines = QString::fromLatin1(maps.readAll()).split('\n');
    for (const QString& line : lines)
        if (line.contains("/imageformats/")) names.insert(line.section('/', -1));
    return names;
}

TEST_F(Pictures, both_windows_and_the_icon_load_no_image_plugin_but_the_jpeg_and_gif_ones) {
    QApplication::setWindowIcon(toolkit::qt::load_icon(window_icon_pictures()));
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {64, 64}}));
    program.start();
    QCoreApplication::processEvents();
    ASSERT_FALSE(grab_court().isNull());
    for (const QString& name : image_plugins_loaded())
        EXPECT_TRUE(name == "libqjpeg.so" || name == "libqgif.so") << name.toStdString() << " was loaded";
}

TEST_F(Pictures, a_picture_of_an_unknown_format_or_none_is_null) {
    EXPECT_TRUE(toolkit::qt::load_picture("").isNull());
    EXPECT_TRUE(toolkit::qt::load_picture(":/art/none.gif").isNull());
    EXPECT_TRUE(toolkit::qt::load_picture(":/art/court.jpg.unknown").isNull());
    EXPECT_EQ(toolkit::qt::load_picture(":/art/court.jpg").size(), QSize(721, 722));
}

// The part of a picture an area shows when the picture is centred on it:
// exactly the pixels of the whole picture there, and where they stand.
TEST_F(Pictures, a_centred_picture_is_read_only_as_far_as_its_area_shows_it) {
    const QImage whole = toolkit::qt::load_picture(":/art/court.jpg").toImage();
    const struct {
        QSize area;
        QRect part;  // of the picture
        QPoint at;   // in the area
    } table[] = {
        {{573, 554}, {74, 84, 573, 554}, {0, 0}},      // the court's window
        {{721, 722}, {0, 0, 721, 722}, {0, 0}},        // just the picture
        {{800, 700}, {0, 11, 721, 700}, {39, 0}},      // wider, lower
        {{1000, 1000}, {0, 0, 721, 722}, {139, 139}},  // larger on both sides
        {{1, 1}, {360, 360, 1, 1}, {0, 0}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.area.width() << "x" << row.area.height());
        const toolkit::qt::PicturePart p = toolkit::qt::load_centred_picture(":/art/court.jpg", row.area);
        EXPECT_EQ(p.at, row.at);
        ASSERT_EQ(p.image.size(), row.part.size());
        EXPECT_TRUE(p.image.convertToFormat(whole.format()) == whole.copy(row.part));
    }
    EXPECT_TRUE(toolkit::qt::load_centred_picture("", {10, 10}).image.isNull());
}

// The ball drawn over a bare pink court at `size` pixels: its green middle
// spans the whole new size, not the size it was first drawn at.
TEST_F(Pictures, the_ball_is_scaled_again_when_its_size_changes) {
    QWidget& ball = widget(court.I_ball);
    for (const int size : {56, 112, 30}) {
        SCOPED_TRACE(size);
        ball.setGeometry(QRect(QPoint(100, 100), QSize(size, size)));
        const QImage g = ball.grab().toImage();
        ASSERT_EQ(g.size(), QSize(size, size));
        const QRect green = bounds_of(g, g.rect(), [](const QColor& c) { return near(c, kBallGreen, 50); });
        EXPECT_LE(std::abs(green.center().x() - size / 2), 2);
        EXPECT_GE(green.width(), size / 3) << "the picture was not scaled to the new size";
        EXPECT_LE(green.width(), size);
    }
}

}  // namespace
}  // namespace window_test
