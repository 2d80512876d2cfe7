// Starts the game on the Qt backend.
#include "forms/program.h"
#include "toolkit/qt/qt_runtime.h"

#include <QApplication>
#include <QIcon>
#include <sys/resource.h>

namespace {

// Every racket click during a rally runs a whole new rally nested inside the
// running one, a few kilobytes of stack each. A larger soft limit for the main
// thread's stack, which grows on demand, lets the player nest tens of thousands.
void allow_deep_nesting() {
    constexpr rlim_t kStackBytes = rlim_t{64} << 20;
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= kStackBytes)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kStackBytes : std::min(kStackBytes, limit.rlim_max);
    setrlimit(RLIMIT_STACK, &limit);
}

}  // namespace

int main(int argc, char** argv) {
    allow_deep_nesting();
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(QIcon(":/art/icons/bounzo-256.png"));
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    program.start();
    return runtime.run();
}
