#include "toolkit/qt/open_display.h"

#include "toolkit/texts.h"

#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace toolkit::qt {
namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's own threads may speak while the application is made.
std::mutex held_mutex;
std::vector<HeldMessage> held;

// While the application is made, Qt's messages are held back: a failed
// start ends in a fatal one, after warnings that only repeat it.
void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        const std::lock_guard lock(held_mutex);
        held.push_back({type, context.category, text});
        return;
    }
    const std::string line = texts::no_display_line(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    std::fputs(line.c_str(), stderr);
    // Qt aborts once this handler returns, and the half-made application
    // must not be torn down: leave at once.
    std::_Exit(1);
}

// Qt paints nothing on a screen of fewer bits per pixel (an 8-bit
// palette screen gets no paint engine at all, and the first input box then
// crashes in its edit field); 15-, 16-, 24- and 30-bit screens play.
constexpr int kLeastScreenDepth = 15;

void refuse_a_shallow_screen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->depth() >= kLeastScreenDepth) return;
    const std::string line = texts::shallow_screen_line(screen->depth(), std::getenv("DISPLAY"));
    std::fputs(line.c_str(), stderr);
    // Nothing has been shown yet; the application is not worth tearing down.
    std::_Exit(1);
}

}  // namespace

std::unique_ptr<QApplication> open_display(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(hold);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    // Before Qt's held messages: the one line is all such a start says.
    refuse_a_shallow_screen();
    const std::lock_guard lock(held_mutex);
    for (const HeldMessage& m : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.isNull() ? nullptr : m.category.constData());
        if (previous) previous(m.type, context, m.text);
    }
    held.clear();
    return app;
}

}  // namespace toolkit::qt
