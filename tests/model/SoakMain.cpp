// The long walk: `tolvane_model_soak [steps]` walks the program against the
// model for the given number of steps in all (100000 by default), over
// several seeds, with faults injected into every fourth walk.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "Application.h"
#include "Walk.h"

namespace {

long otherMessages = 0;

// The headless platform cannot raise windows and says so at every Show;
// anything else Qt says is counted and shown.
void QuietAboutRaise(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (message.contains(QLatin1String("does not support raise"))) return;
    if (++otherMessages <= 10) std::fprintf(stderr, "qt: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const long total = argc > 1 ? std::atol(argv[1]) : 100000;
    qInstallMessageHandler(QuietAboutRaise);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    tolvane::platform::SetUpApplication();

    constexpr long kPerWalk = 5000;
    tolvane::model::WalkStats all;
    long faultSteps = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::uint64_t seed = 1000; all.steps < total && all.failure.empty(); ++seed) {
        const bool faults = seed % 4 == 3;
        const long steps = std::min(kPerWalk, total - all.steps);
        const auto stats = tolvane::model::RunWalk({seed, steps, faults ? 12 : 0});
        if (faults) faultSteps += stats.steps;
        all += stats;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %ld steps (%ld with faults) in %.1f s, %ld programs, %ld diagnoses, "
                "%ld units typed\n",
                all.steps, faultSteps, seconds, all.programs, all.diagnoses, all.typedUnits);
    std::printf("soak: faults armed %ld, fired %ld (Load %ld, Show %ld, Hide %ld, Caption %ld, "
                "Text %ld, Value %ld, Focus %ld), unreached %ld\n",
                all.faultsArmed, all.FaultsFired(), all.faultsFired[0], all.faultsFired[1],
                all.faultsFired[2], all.faultsFired[3], all.faultsFired[4], all.faultsFired[5],
                all.faultsFired[6], all.faultsUnreached);
    std::printf("soak: %ld other messages from Qt\n", otherMessages);
    if (!all.failure.empty()) {
        std::printf("soak: DIVERGENCE\n%s", all.failure.c_str());
        return 1;
    }
    std::printf("soak: no divergence\n");
    return 0;
}
