// Starts the game on the Qt backend.
#include "forms/program.h"
#include "toolkit/qt/deep_nesting.h"
#include "toolkit/qt/qt_runtime.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    toolkit::qt::allow_deep_nesting();
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(QIcon(":/art/icons/bounzo-256.png"));
    QGuiApplication::setDesktopFileName("org.bounzo.Bounzo");
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    program.start();
    return runtime.run();
}
