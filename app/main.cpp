// Starts the game on the Qt backend.
#include "app/window_icon.h"
#include "forms/program.h"
#include "toolkit/qt/deep_nesting.h"
#include "toolkit/qt/open_display.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_runtime.h"
#include "toolkit/qt/session_bus.h"

#include <QApplication>

int main(int argc, char** argv) {
    toolkit::qt::allow_deep_nesting();
    toolkit::qt::keep_to_the_given_session_bus();
    // The window class on X11 (WM_CLASS), which the desktop entry names, whatever the program file is called.
    QCoreApplication::setApplicationName("bounzo");
    const auto app = toolkit::qt::open_display(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(toolkit::qt::load_icon(window_icon_pictures()));
    QGuiApplication::setDesktopFileName("org.bounzo.Bounzo");
    toolkit::qt::QtRuntime runtime;
    forms::Program program(runtime);
    program.start();
    return runtime.run();
}
