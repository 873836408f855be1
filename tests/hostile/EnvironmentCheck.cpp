// A walk against the model under a hostile environment, which the caller
// sets up: `c-locale` expects LC_ALL=C, `no-ipa` expects the IPA fonts gone.
// Every text must still be exact and every step match the model.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLocale>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "Application.h"
#include "Driver.h"
#include "Form.h"
#include "Walk.h"

namespace {

int Fail(const char* why) {
    std::fprintf(stderr, "environment check: %s\n", why);
    return 1;
}

bool HasIpaFonts() {
    for (const QString& family : QFontDatabase::families()) {
        if (family.contains(QLatin1String("IPA"), Qt::CaseInsensitive)) return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    tolvane::platform::SetUpApplication();

    if (std::strcmp(mode, "c-locale") == 0) {
        if (QLocale::system().name() != QLatin1String("C")) return Fail("the locale is not C");
    } else if (std::strcmp(mode, "no-ipa") == 0) {
        if (HasIpaFonts()) return Fail("the IPA fonts are still there");
        // The page title asks for a Gothic face: what stands in for it.
        tolvane::model::Driver driver;
        driver.Start();
        QWidget* title = driver.Widget(tolvane::model::Screen::Form1, QStringLiteral("Label1"));
        if (!title) return Fail("Form1 has no title");
        const QString family = QFontInfo(title->font()).family();
        std::printf("environment check: the page title is drawn in %s\n", qPrintable(family));
        if (family.contains(QLatin1String("IPA"))) return Fail("an IPA font is still in use");
    } else {
        return Fail("usage: tolvane_environment_check c-locale|no-ipa");
    }

    const auto stats = tolvane::model::RunWalk({7, 1500, 0});
    std::printf("environment check (%s): %ld steps, %ld diagnoses\n", mode, stats.steps,
                stats.diagnoses);
    if (!stats.failure.empty()) {
        std::fprintf(stderr, "%s", stats.failure.c_str());
        return 1;
    }
    return stats.diagnoses > 0 ? 0 : Fail("the walk never diagnosed");
}
