#include "Application.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "Fonts.h"
#include "QtWindow.h"
#include "Runtime.h"
#include "Window.h"

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
    // The sizes a title bar, a task bar and a window switcher show: each goes to
    // the window manager with every window, so none larger. Read as the PNGs
    // they are: left to find their format, Qt would load every image-format
    // plugin there is to ask each, at start-up.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QImageReader png(QStringLiteral(":/icon/tolvane-%1.png").arg(size), "png");
        png.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(png.read()));
    }
    QApplication::setWindowIcon(icon);
    InstallFontSubstitutions();
    // Controls take the screens' font from the start, not the system's first:
    // resolving a font costs a search for its fallbacks.
    QApplication::setFont(DefaultFont());
}

std::shared_ptr<void> StartToolkit(int argc, char* argv[]) {
    // The program takes no command line: Qt sees only the program's name,
    // and keeps the count it is given for as long as it lives.
    static int qtArgc;
    qtArgc = argc > 0 ? 1 : 0;
    qInstallMessageHandler(QuietAboutMissingDisplay);
    auto app = std::make_shared<QApplication>(qtArgc, argv);
    qInstallMessageHandler(nullptr);
    SetUpApplication();
    return app;
}

std::optional<int> RunEventLoop() { return QApplication::exec(); }

void QuitEventLoop(int status, std::u16string_view) { QApplication::exit(status); }

void PresentErrorReport(const ErrorReport& report, std::function<void()> dismissed) {
    QMessageBox box(QMessageBox::Critical, ToQString(report.title), ToQString(report.text),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorReport"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    dismissed();
}

} // namespace tolvane::platform
