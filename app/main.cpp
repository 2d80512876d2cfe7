// Starts the game on the Qt backend.
#include "app/window_icon.h"
#include "forms/program.h"
#include "toolkit/qt/deep_nesting.h"
#include "toolkit/qt/open_display.h"
#include "toolkit/qt/picture.h"
#include "toolkit/qt/qt_look.h"
#include "toolkit/qt/qt_runtime.h"
#include "toolkit/qt/session_bus.h"
#include "toolkit/qt/x_pixels.h"
#include "toolkit/texts.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const toolkit::StackBounds stack = toolkit::qt::allow_deep_nesting();
    toolkit::qt::keep_to_the_given_session_bus();
    toolkit::qt::send_pixels_in_requests();
    // The window class on X11 (WM_CLASS), which the desktop entry names, whatever the program file is called.
    QCoreApplication::setApplicationName("bounzo");
    const auto app = toolkit::qt::open_display(argc, argv);
    // The game still plays, but the player is told why its captions are boxes.
    if (!toolkit::qt::drawing_face_installed()) std::fputs(toolkit::texts::kNoFontLine, stderr);
    QApplication::setStyle("Fusion");
    QApplication::setWindowIcon(toolkit::qt::load_icon(window_icon_pictures()));
    QGuiApplication::setDesktopFileName("org.bounzo.Bounzo");
    toolkit::qt::QtRuntime runtime;
    runtime.set_stack_bounds(stack);
    forms::Program program(runtime);
    program.start();
    const int status = runtime.run();
    // Qt 6.4's Wayland client can hang for good while it closes its
    // connection: its two reading threads race on a read one of them has
    // announced, most often when a close button ends the program from inside
    // Wayland's own event dispatch. Nothing is left to save, so on Wayland the
    // program leaves without that teardown.
    if (QGuiApplication::platformName() == "wayland") {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
