// Test main for everything that needs a QApplication: headless unless the
// caller chose a platform, with the fonts mapped as the program maps them.
#include <QApplication>
#include <gtest/gtest.h>

#include "Fonts.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tolvane::platform::InstallFontSubstitutions();
    return RUN_ALL_TESTS();
}
