// What no walk step shows on Qt: the real event loop, and a window moved.
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "Form1.h"
#include "QtWindow.h"
#include "Screens.h"
#include "Walk.h"

using namespace tolvane;
using namespace tolvane::check;
using screens::The;

// Start-up, the real event loop, and a click whose handler fails (Form3's load,
// with error 7): the program leaves the loop at once through its report.
TEST(EventLoop, LeavesAtOnceWithItsStatus) {
    platform::Runtime runtime;
    runtime.SetFaultHook([](platform::Operation op, const std::string& where) {
        return op == platform::Operation::Load && where == "Form3" ? std::optional(7)
                                                                   : std::nullopt;
    });
    EXPECT_EQ(runtime.Run([] {
        screens::StartUp();
        QTimer::singleShot(0, [] {
            QTest::mouseClick(
                platform::WidgetOf(The<screens::Form1>())->findChild<QWidget*>("Command1"),
                Qt::LeftButton);
        });
    }),
              1);
    EXPECT_EQ(TheDriver().Reports().size(), 1u);
}

// A screen opens where the user left it, once moved.
TEST(Windows, KeepTheirPlace) {
    Program program;
    QWidget* page = platform::WidgetOf(The<screens::Form1>());
    page->move(13, 17);
    const QPoint moved = page->pos();
    program.runtime().Dispatch([] { The<screens::Form1>().Hide(), The<screens::Form1>().Show(); });
    EXPECT_EQ(page->pos(), moved);
}
