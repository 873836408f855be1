// The page check as the user meets it: the check-error dialogs over their
// pages, what they say, and how they and their pages go on working together.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ResultScreens.h"
#include "ScreenTest.h"
#include "Screens.h"

using namespace tolvane;
using namespace tolvane::screens;
using test::AnswerPattern;
using test::Tick;
using State = platform::Form::State;

namespace {

class DialogTest : public test::ScreenTest {
protected:
    // Starts and brings the user to the page, page 1 answered all yes on the way.
    platform::Form& OpenPage(int page) {
        Start();
        if (page == 1) return The<Form1>();
        Answer(The<Form1>(), 1, test::AllYes());
        Click(The<Form1>(), "Command1");
        return The<Form2>();
    }
    static platform::Form& DialogOf(int page) {
        return page == 1 ? static_cast<platform::Form&>(The<Form3>()) : The<Form4>();
    }
    static QString PageName(int page) { return page == 1 ? "Form1" : "Form2"; }
    static QString DialogName(int page) { return page == 1 ? "Form3" : "Form4"; }
    static int CountWindowsNamed(const QString& name) {
        int count = 0;
        for (const QWidget* window : QApplication::topLevelWidgets())
            count += window->objectName() == name;
        return count;
    }
};

// A way of leaving a page incomplete.
struct Fault {
    const char* name;
    AnswerPattern answers; // by position on the page, 1 to 16
    friend void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }
};

const Fault kFaults[] = {
    {"Untouched", [](int) { return Tick::None; }},
    {"DoubledTick", [](int k) { return k == 7 ? Tick::Both : Tick::Yes; }},
    {"OnlyPosition16Missing", [](int k) { return k == 16 ? Tick::None : Tick::No; }},
    {"OnlyPosition16Doubled", [](int k) { return k == 16 ? Tick::Both : Tick::Yes; }},
    {"Position1MissingAnd16Doubled",
     [](int k) { return k == 1    ? Tick::None
                        : k == 16 ? Tick::Both
                                  : Tick::No; }},
};

class FailingPageTest : public DialogTest,
                        public ::testing::WithParamInterface<std::tuple<int, Fault>> {};

} // namespace

TEST_P(FailingPageTest, OpensThePagesDialogOverTheUnchangedPage) {
    const auto& [page, fault] = GetParam();
    platform::Form& form = OpenPage(page);
    const AnswerPattern byItem = [&fault = fault](int item) {
        return fault.answers((item - 1) % 16 + 1);
    };
    Answer(form, page, byItem);
    const QStringList loaded = LoadedScreens();
    Click(form, "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{PageName(page), DialogName(page)}));
    EXPECT_EQ(TicksOn(form), Expected(page, byItem));
    EXPECT_EQ(LoadedScreens(), (QStringList(loaded) << DialogName(page)));
    EXPECT_EQ(Module1(), logic::DiagnosisState{}) << "a failing page was diagnosed";
    EXPECT_FALSE(runtime().HasEnded());
}

INSTANTIATE_TEST_SUITE_P(BothPages, FailingPageTest,
                         ::testing::Combine(::testing::Values(1, 2), ::testing::ValuesIn(kFaults)),
                         [](const auto& info) {
                             return "Page" + std::to_string(std::get<0>(info.param)) +
                                    std::get<1>(info.param).name;
                         });

TEST_F(DialogTest, DialogIsModelessAndComesBackAsTheSameInstance) {
    platform::Form& page = OpenPage(1);
    Click(page, "Command1");
    ASSERT_EQ(The<Form3>().CurrentState(), State::Visible);
    QWidget* dialog = The<Form3>().Window();

    // The page behind stays usable: boxes tick, and a failing next brings the same dialog.
    Click(page, "Check3");
    EXPECT_EQ(TicksOn(page)[1], Tick::Yes);
    Click(page, "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{"Form1", "Form3"}));
    EXPECT_EQ(The<Form3>().Window(), dialog);
    EXPECT_EQ(CountWindowsNamed("Form3"), 1);

    // OK hides the dialog and shows the page again; a later failure reopens it.
    Click(The<Form3>(), "Command1");
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    Click(page, "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{"Form1", "Form3"}));
    EXPECT_EQ(CountWindowsNamed("Form3"), 1);
    EXPECT_EQ(Find<QPushButton>(The<Form3>(), "Command1")->text(), "OK");
}

TEST_F(DialogTest, Page2DialogOkReturnsToPage2) {
    platform::Form& page = OpenPage(2);
    Click(page, "Command1");
    ASSERT_EQ(VisibleScreens(), (QStringList{"Form2", "Form4"}));
    Click(The<Form4>(), "Command1");
    EXPECT_EQ(VisibleScreens(), QStringList{"Form2"});
    EXPECT_EQ(The<Form4>().CurrentState(), State::Hidden);
}

// Page 1 mended while its dialog is open: next moves on and leaves the dialog,
// whose OK then brings page 1 back beside page 2. The diagnose button must not
// score a page 1 the user has spoiled there since.
TEST_F(DialogTest, DialogLeftOpenAcrossPagesAndPage1SpoiledBehindPage2) {
    platform::Form& page1 = OpenPage(1);
    Answer(page1, 1, [](int item) { return item == 5 ? Tick::None : Tick::No; });
    Click(page1, "Command1");
    ASSERT_EQ(VisibleScreens(), (QStringList{"Form1", "Form3"}));
    Answer(page1, 1, test::AllNo());
    Click(page1, "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{"Form2", "Form3"}));

    Click(The<Form3>(), "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{"Form1", "Form2"}));

    Click(page1, "Check9"); // item 5 answered twice now
    Answer(The<Form2>(), 2, test::AllNo());
    Click(The<Form2>(), "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{"Form1", "Form2", "Form3"}));
    EXPECT_EQ(Module1(), logic::DiagnosisState{}) << "diagnosed with page 1 spoiled";
    EXPECT_FALSE(LoadedScreens().contains("Form8"));

    // Mended again, the diagnosis goes ahead and the chain ends on page 1 alone.
    Click(The<Form3>(), "Command1");
    Click(page1, "Check9");
    Click(The<Form2>(), "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{"Form1", "Form8"}));
    Click(The<Form8>(), "Command1");
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
}

class DialogTextTest : public DialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(DialogTextTest, TitleLinesAndOkWithTheOnlyFocus) {
    const int page = GetParam();
    Click(OpenPage(page), "Command1");
    platform::Form& dialog = DialogOf(page);
    ASSERT_EQ(dialog.CurrentState(), State::Visible);
    EXPECT_EQ(dialog.Window()->windowTitle(), DialogName(page));

    const QString lines[] = {QStringLiteral(u"チェックが重複しているか，"),
                             QStringLiteral(u"不足しているか，しています．"),
                             QStringLiteral(u"確認して下さい．")};
    const qsizetype lengths[] = {13, 14, 8};
    for (int i = 0; i < 3; ++i) {
        const auto* label = Find<QLabel>(dialog, ("Label" + std::to_string(i + 1)).c_str());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), lines[i]);
        EXPECT_EQ(label->text().size(), lengths[i]);
        // Not cut off: each line fits inside its label.
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << "Label" << i + 1;
    }
    EXPECT_EQ(lines[0].back(), QChar(0xFF0C));
    EXPECT_EQ(lines[1].count(QChar(0xFF0C)), 1);
    EXPECT_EQ(Find<QPushButton>(dialog, "Command1")->text(), "OK");

    QStringList focusable;
    for (const QWidget* child : dialog.Window()->findChildren<QWidget*>()) {
        if (child->focusPolicy() != Qt::NoFocus && child->isVisibleTo(dialog.Window()) &&
            child->isEnabled()) {
            focusable << child->objectName();
        }
    }
    EXPECT_EQ(focusable, QStringList{"Command1"});
    EXPECT_EQ(FocusIn(dialog), "Command1");
    // Tab finds nowhere else to go.
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.Window(), 1000));
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusIn(dialog), "Command1");
    // Enter on the focused OK acts as OK.
    Press(Qt::Key_Return);
    EXPECT_EQ(dialog.CurrentState(), State::Hidden);
}

INSTANTIATE_TEST_SUITE_P(Form3AndForm4, DialogTextTest, ::testing::Values(1, 2),
                         [](const auto& info) { return "Page" + std::to_string(info.param); });
