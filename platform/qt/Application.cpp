#include "Application.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "Fonts.h"
#include "QtWindow.h"
#include "Runtime.h"

namespace tolvane::platform {
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

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    // Controls take the screens' font from the start, not the system's first:
    // resolving a font costs a search for its fallbacks.
    QApplication::setFont(DefaultFont());
}

int RunProgram(int argc, char* argv[], void (*start)()) {
    // The program takes no command line: Qt sees only the program's name.
    int qtArgc = argc > 0 ? 1 : 0;
    qInstallMessageHandler(QuietAboutMissingDisplay);
    QApplication app(qtArgc, argv);
    qInstallMessageHandler(nullptr);
    SetUpApplication();
    Runtime runtime;
    return runtime.Run(start);
}

int RunEventLoop() { return QApplication::exec(); }

void QuitEventLoop(int status) { QApplication::exit(status); }

void PresentErrorReport(const ErrorReport& report) {
    QMessageBox box(QMessageBox::Critical, ToQString(report.title), ToQString(report.text),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorReport"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace tolvane::platform
