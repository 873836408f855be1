#include "Application.h"

#include <QApplication>

#include "Fonts.h"

namespace tolvane::platform {

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
}

} // namespace tolvane::platform
