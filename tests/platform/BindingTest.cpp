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

namespace {

QWidget* Find(Screen screen, const char* name) {
    return platform::WidgetOf(FormOf(screen))->findChild<QWidget*>(name);
}

struct Exit {
    const char* name;
    const char* button;
    bool fails; // Form3's load made to fail with error 7
    int status;
};
void PrintTo(const Exit& e, std::ostream* out) { *out << e.name; }
class EventLoop : public ::testing::TestWithParam<Exit> {};

} // namespace

// Start-up, the real event loop, one click, and the status it leaves with.
TEST_P(EventLoop, LeavesAtOnceWithItsStatus) {
    const Exit& exit = GetParam();
    platform::Runtime runtime;
    runtime.SetFaultHook([&exit](platform::Operation op, const std::string& where) {
        return exit.fails && op == platform::Operation::Load && where == "Form3" ? std::optional(7)
                                                                                 : std::nullopt;
    });
    EXPECT_EQ(runtime.Run([&exit] {
        screens::StartUp();
        QTimer::singleShot(
            0, [&exit] { QTest::mouseClick(Find(Screen::Form1, exit.button), Qt::LeftButton); });
    }),
              exit.status);
    EXPECT_FALSE(platform::WidgetOf(The<screens::Form1>())->isVisible());
    EXPECT_EQ(TheDriver().Reports().size(), exit.fails ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Ways, EventLoop,
                         ::testing::Values(Exit{"Cancel", "Command2", false, 0},
                                           Exit{"Exit", "Command3", false, 0},
                                           Exit{"Failure", "Command1", true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// A screen opens where the user left it, once moved.
TEST(Windows, KeepTheirPlace) {
    Program program;
    QWidget* page = platform::WidgetOf(The<screens::Form1>());
    page->move(13, 17);
    const QPoint moved = page->pos();
    program.runtime().Dispatch([] { The<screens::Form1>().Hide(), The<screens::Form1>().Show(); });
    EXPECT_EQ(page->pos(), moved);
}
