// The forms runtime on Qt: how the program leaves its event loop, calls that
// cannot act, and what the controls and windows do that no walk step shows.
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
#include "Twips.h"
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
    bool fails; // Form3's load made to fail with error 7
    const char* button;
    int status;
    std::size_t reports;
};
void PrintTo(const Exit& e, std::ostream* out) { *out << e.name; }
class EventLoop : public ::testing::TestWithParam<Exit> {};

} // namespace

// The program as it runs for real: start-up, the event loop, one click and
// the status the loop leaves with, at once.
TEST_P(EventLoop, LeavesAtOnceWithTheStatus) {
    const Exit& exit = GetParam();
    platform::Runtime runtime;
    std::vector<platform::ErrorReport> reports;
    runtime.SetErrorPresenter([&](const platform::ErrorReport& r) { reports.push_back(r); });
    runtime.SetFaultHook([&exit](platform::Operation op, const std::string& where) {
        const bool strike = exit.fails && op == platform::Operation::Load && where == "Form3";
        return strike ? std::optional(7) : std::nullopt;
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
    ASSERT_EQ(reports.size(), exit.reports);
    if (exit.reports) {
        EXPECT_EQ(reports[0].text.substr(0, 9), u"実行時エラー 7\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, EventLoop,
                         ::testing::Values(Exit{"Cancel", false, "Command2", 0, 0},
                                           Exit{"Exit", false, "Command3", 0, 0},
                                           Exit{"Failure", true, "Command1", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Calls, ThatCannotActRaiseTheirErrorNumbers) {
    Program program;
    auto& page = The<screens::Form1>();
    auto& dialog = The<screens::Form3>();
    const std::pair<int, std::function<void()>> calls[] = {
        {5, [&] { dialog.Command(1).SetFocus(); }}, // on a screen never shown
        {5, [&] { page.Command(4).SetFocus(); }},   // a hidden button
        {5, [&] { page.Text(1).SetFocus(); }},      // the disabled note
        {5, [&] { page.Label(2).SetFocus(); }},
        {5, [&] { page.Check(33).Value(); }},
        {380, [&] { page.Label(1).SetText(u"x"); }},
        {380, [&] { page.Text(1).SetCaption(u"x"); }},
        {380, [&] { page.Control("Line1").SetCaption(u"x"); }},
        {380, [&] { page.Command(1).Value(); }},
        {5, [&] { page.Hide(), page.Check(1).SetFocus(); }}, // on a screen hidden again
    };
    for (const auto& [number, call] : calls) {
        int raised = 0;
        try {
            call();
        } catch (const RuntimeError& error) {
            raised = error.Number();
        }
        EXPECT_EQ(raised, number);
    }
    EXPECT_EQ(dialog.CurrentState(), platform::Form::State::Hidden) << "even a failed call loads";
}

// Only the program could gray a box; the user's click or Space makes it ticked.
TEST(Controls, AGrayedBoxReadsTwoUntilTheUserTicksIt) {
    Program program;
    for (const Input input : {Input::Mouse, Input::Space}) {
        static_cast<QCheckBox*>(Find(Screen::Form1, "Check3"))->setCheckState(Qt::PartiallyChecked);
        EXPECT_EQ(The<screens::Form1>().Check(3).Value(), 2);
        TheDriver().Tick(Screen::Form1, 3, input, 0.9);
        EXPECT_EQ(The<screens::Form1>().Check(3).Value(), 1);
    }
}

// No button is a cancel button; a held Return presses once; the keypad's
// Enter presses the focused button like Return.
TEST(Controls, KeysPressOnlyTheFocusedButtonOnce) {
    Program program;
    QWidget* next = Find(Screen::Form1, "Command1");
    for (const auto& [key, modifiers, repeat, opens] :
         {std::tuple{Qt::Key_Escape, Qt::NoModifier, false, false},
          {Qt::Key_Return, Qt::NoModifier, true, false},
          {Qt::Key_Enter, Qt::KeypadModifier, false, true}}) {
        next->setFocus();
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), repeat);
        QApplication::sendEvent(next, &event);
        EXPECT_EQ(The<screens::Form3>().CurrentState() == platform::Form::State::Visible, opens)
            << key;
    }
}

TEST(Windows, OpenCentredOnceKeepTheirPlaceAndOfferTheirButtons) {
    Program program;
    QWidget* page = platform::WidgetOf(The<screens::Form1>());
    const QPoint offset = page->frameGeometry().center() -
                          QApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    page->move(13, 17);
    const QPoint moved = page->pos();
    program.runtime().Dispatch([] { The<screens::Form1>().Hide(), The<screens::Form1>().Show(); });
    EXPECT_EQ(page->pos(), moved) << "only the first Show centres";
    // Pages have no control box; the dialogs do.
    program.runtime().Dispatch([] { The<screens::Form3>().Show(); });
    const auto buttons =
        Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    EXPECT_FALSE(page->windowFlags() & buttons);
    EXPECT_EQ(platform::WidgetOf(The<screens::Form3>())->windowFlags() & buttons, buttons);
}

TEST(Twips, BoxesThatMeetStillMeetInPixelsAtAnyDpi) {
    for (const int dpi : {96, 120, 144}) {
        for (int left = 0; left < 45; ++left) {
            for (int width = 1; width < 45; ++width) {
                const platform::PixelBox a = platform::TwipsToPixels({left, 0, width, 180}, dpi);
                ASSERT_EQ(a.x + a.width,
                          platform::TwipsToPixels({left + width, 0, 90, 180}, dpi).x);
            }
        }
    }
    EXPECT_EQ(platform::TwipsToPixels(1440, 144), 144);
}
