// Runs tests of the real windows inside one QApplication with the game's own
// style and the program's room for deep nesting. Without a platform chosen
// they run off screen, so listing and running the tests needs no display.
#include "toolkit/qt/deep_nesting.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    toolkit::qt::allow_deep_nesting();
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    return RUN_ALL_TESTS();
}
