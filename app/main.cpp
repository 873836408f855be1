#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "Application.h"
#include "Runtime.h"
#include "Screens.h"

namespace {

// Without a display Qt gives up with a fatal message and a core dump; say it
// in one line and leave with a plain failure instead.
void QuietAboutMissingDisplay(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("tolvane: no display could be opened\n", stderr);
        std::_Exit(EXIT_FAILURE);
    }
    if (type == QtCriticalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[]) {
    // The program takes no command line: Qt sees only the program's name.
    int qtArgc = argc > 0 ? 1 : 0;
    qInstallMessageHandler(QuietAboutMissingDisplay);
    QApplication app(qtArgc, argv);
    qInstallMessageHandler(nullptr);

    tolvane::platform::SetUpApplication();

    tolvane::platform::Runtime runtime;
    return runtime.Run(tolvane::screens::StartUp);
}
