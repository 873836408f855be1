// How long the screens take to answer each user action, from the click to
// the window drawn anew: every kind of click, first loads included, in fresh
// program runs that end on each result screen. Prints the counts, medians,
// 99th percentiles and maxima in milliseconds, one kind a line.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <map>

#include "Application.h"
#include "Form.h"
#include "QtWindow.h"
#include "Screens.h"

using namespace tolvane;

namespace {

std::map<std::string, std::vector<double>> samples;

// Clicks `name` on whichever loaded screen shows it, and waits until the
// program and the X server have drawn what the click caused.
void Click(const char* kind, const char* form, const char* name) {
    QWidget* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == form && top->isVisible()) window = top;
    QWidget* control = window->findChild<QWidget*>(name);
    QElapsedTimer clock;
    clock.start(), QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
    QApplication::processEvents(), QGuiApplication::sync(), QApplication::processEvents();
    samples[kind].push_back(double(clock.nsecsElapsed()) / 1e6);
}

// Yes where a bit is set, page by page, then the diagnosis and the chain.
void Round(unsigned yes) {
    platform::Runtime runtime;
    runtime.Dispatch(screens::StartUp), QApplication::processEvents();
    Click("next, page 1 failing (first Form3)", "Form1", "Command1");
    Click("OK on a check-error dialog", "Form3", "Command1");
    for (int page = 1; page <= 2; ++page) {
        const char* form = page == 1 ? "Form1" : "Form2";
        for (int k = 0; k < 16; ++k)
            Click(
                "tick", form,
                ("Check" + std::to_string(2 * k + 2 - (yes >> (16 * (page - 1) + k) & 1))).c_str());
        Click(page == 1 ? "next (first Form2)" : "diagnose (first result screen)", form,
              "Command1");
    }
    for (int form = 5; form <= 9; ++form)
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QString("Form%1").arg(form) && top->isVisible())
                Click("次へ along the results", qPrintable(top->objectName()), "Command1");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::SetUpApplication();
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 30;
    for (int i = 0; i < rounds; ++i)
        for (const unsigned yes : {~0u, 0u, 1u << 10}) // A-B-C, D, E
            Round(yes);
    for (auto& [kind, ms] : samples) {
        std::sort(ms.begin(), ms.end());
        std::printf("%s\t%zu\t%.2f\t%.2f\t%.2f\n", kind.c_str(), ms.size(), ms[ms.size() / 2],
                    ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back());
    }
}
