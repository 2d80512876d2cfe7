// The least a Qt Widgets game spends on one moving ball, the yardstick beside
// the game: one window with the court's picture and a child widget of the
// ball's size and picture, moved at every tick of a precise periodic timer
// (a timerfd the event loop watches: no re-arming, one read a tick) and
// bouncing off the window's edges. Runs until it is ended.
//   bounzo_bench_mover PERIOD_US
#include "toolkit/qt/x_pixels.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSocketNotifier>
#include <QWidget>

#include <cstdint>
#include <cstdlib>

#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// The court's client area and the ball, in pixels, as the game shows them.
constexpr QSize kCourt{573, 554};
constexpr int kBall = 56;
constexpr QColor kCourtPink{255, 192, 192};

class Picture : public QWidget {
public:
    Picture(const QString& file, QWidget* parent) : QWidget(parent), picture_(file) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (scaled_.size() != size()) scaled_ = picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPainter(this).drawPixmap(0, 0, scaled_);
    }

private:
    QPixmap picture_, scaled_;
};

class Court : public QWidget {
public:
    Court() : background_(":/art/court.jpg"), ball_(":/art/ball.gif", this) {
        setFixedSize(kCourt);
        ball_.setGeometry(kCourt.width() / 2, kCourt.height() / 2, kBall, kBall);
    }

    void step() {
        QPoint at = ball_.pos() + QPoint(dx_, dy_);
        if (at.x() < 0 || at.x() + kBall > width()) dx_ = -dx_;
        if (at.y() < 0 || at.y() + kBall > height()) dy_ = -dy_;
        ball_.move(at);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), kCourtPink);
        p.drawPixmap((width() - background_.width()) / 2, (height() - background_.height()) / 2, background_);
    }

private:
    QPixmap background_;
    Picture ball_;
    int dx_ = 2, dy_ = 5;
};

}  // namespace

int main(int argc, char** argv) {
    // Its pixels go to the X server the way the game's go, so that the two
    // differ only in what they do.
    toolkit::qt::send_pixels_in_requests();
    QApplication app(argc, argv);
    const long period_us = argc > 1 ? std::atol(argv[1]) : 16650;
    if (period_us <= 0) return 2;
    Court court;
    court.setWindowTitle("bounzo bare mover");
    court.show();

    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0) return 1;
    itimerspec every{};
    every.it_interval.tv_sec = period_us / 1000000;
    every.it_interval.tv_nsec = (period_us % 1000000) * 1000;
    every.it_value = every.it_interval;
    if (timerfd_settime(fd, 0, &every, nullptr) != 0) return 1;
    QSocketNotifier ticks(fd, QSocketNotifier::Read);
    QObject::connect(&ticks, &QSocketNotifier::activated, [&] {
        std::uint64_t expirations = 0;
        if (read(fd, &expirations, sizeof expirations) > 0) court.step();
    });
    return app.exec();
}
