// Test main for everything that needs a QApplication: headless unless the
// caller chose a platform, with the fonts mapped as the program maps them.
#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

#include "Application.h"

namespace {

// The offscreen platform warns on every raise(); the tests raise windows a lot.
QtMessageHandler standardHandler = nullptr;

void DropRaiseWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.contains(QLatin1String("does not support raise()"))) return;
    if (standardHandler) {
        standardHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    standardHandler = qInstallMessageHandler(DropRaiseWarnings);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tolvane::platform::SetUpApplication();
    return RUN_ALL_TESTS();
}
