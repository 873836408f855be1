// The forms runtime on Qt: how the program leaves its event loop, calls that
// cannot act, and what controls and windows do that no walk step shows.
#include <QApplication>
#include <QCheckBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "QtWindow.h"
#include "RuntimeError.h"
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

// The program as it runs for real: start-up, the event loop, one click, and
// the status the loop leaves with at once.
TEST_P(EventLoop, LeavesAtOnceWithItsStatus) {
    const Exit& exit = GetParam();
    platform::Runtime runtime;
    int reports = 0;
    runtime.SetErrorPresenter([&](const platform::ErrorReport&) { ++reports; });
    runtime.SetFaultHook([&exit](platform::Operation op, const std::string& where) {
        return exit.fails && op == platform::Operation::Load && where == "Form3" ? std::optional(7)
                                                                                 : std::nullopt;
    });
    QTimer safety;
    QObject::connect(&safety, &QTimer::timeout, [] { QApplication::exit(99); });
    safety.start(10000);
    EXPECT_EQ(runtime.Run([&exit] {
        screens::StartUp();
        QTimer::singleShot(
            0, [&exit] { QTest::mouseClick(Find(Screen::Form1, exit.button), Qt::LeftButton); });
    }),
              exit.status);
    EXPECT_FALSE(platform::WidgetOf(The<screens::Form1>())->isVisible());
    EXPECT_EQ(reports, exit.fails ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, EventLoop,
                         ::testing::Values(Exit{"Cancel", "Command2", false, 0},
                                           Exit{"Exit", "Command3", false, 0},
                                           Exit{"Failure", "Command1", true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// SetFocus needs its screen visible and a control that can take the focus;
// even a call that fails loads its screen.
TEST(Calls, SetFocusWhereNothingCanTakeItRaisesFive) {
    Program program;
    auto& page = The<screens::Form1>();
    auto& dialog = The<screens::Form3>();
    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { dialog.Command(1).SetFocus(); },             // a screen never shown
             [&] { page.Command(4).SetFocus(); },               // a hidden button
             [&] { page.Text(1).SetFocus(); },                  // the disabled note
             [&] { page.Hide(), page.Check(1).SetFocus(); }}) { // a screen hidden again
        try {
            call(), ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), 5);
        }
    }
    EXPECT_EQ(dialog.CurrentState(), platform::Form::State::Hidden);
}

// Only the program could gray a box; the user's click or Space makes it ticked.
TEST(Controls, AGrayedBoxReadsTwoUntilTheUserTicksIt) {
    Program program;
    for (const Input input : {Input::Mouse, Input::Space}) {
        static_cast<QCheckBox*>(Find(Screen::Form1, "Check3"))->setCheckState(Qt::PartiallyChecked);
        EXPECT_EQ(The<screens::Form1>().Check(3).Value(), 2);
        TheDriver().Press(Screen::Form1, "Check3", input, 0.9);
        EXPECT_EQ(The<screens::Form1>().Check(3).Value(), 1);
    }
}

TEST(Windows, OpenCentredOnceAndKeepTheirPlace) {
    Program program;
    QWidget* page = platform::WidgetOf(The<screens::Form1>());
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((page->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    page->move(13, 17);
    const QPoint moved = page->pos();
    program.runtime().Dispatch([] { The<screens::Form1>().Hide(), The<screens::Form1>().Show(); });
    EXPECT_EQ(page->pos(), moved);
}
