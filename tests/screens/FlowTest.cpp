// The walk through the screens as a user makes it: start, both pages, the
// result chain, back, and the ways out of the program.
#include <QApplication>

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

class FlowTest : public test::ScreenTest {
protected:
    // Answers both pages by clicks, moves on with 次へ and diagnoses with 診断.
    void AnswerAndDiagnose(const AnswerPattern& pattern) {
        ASSERT_EQ(VisibleScreens(), QStringList{"Form1"});
        Answer(The<Form1>(), 1, pattern);
        Click(The<Form1>(), "Command1");
        ASSERT_EQ(VisibleScreens(), QStringList{"Form2"});
        Answer(The<Form2>(), 2, pattern);
        Click(The<Form2>(), "Command1");
    }

    // Follows the result chain with 次へ and returns the screens it showed,
    // each of them alone on show.
    QStringList FollowChain() {
        QStringList chain;
        for (int step = 0; step < 6; ++step) {
            const QStringList visible = VisibleScreens();
            if (visible == QStringList{"Form1"}) return chain;
            if (visible.size() != 1) {
                ADD_FAILURE() << "on show at once: " << visible.join(' ').toStdString();
                return chain;
            }
            chain << visible.front();
            platform::Form& form = *ScreenNamed(visible.front());
            EXPECT_TRUE(QTest::qWaitForWindowActive(form.Window(), 1000)) << form.Name();
            Click(form, "Command1");
        }
        ADD_FAILURE() << "the chain does not end";
        return chain;
    }

    static platform::Form* ScreenNamed(const QString& name) {
        platform::Form* screens[] = {&The<Form5>(), &The<Form6>(), &The<Form7>(), &The<Form8>(),
                                     &The<Form9>()};
        for (platform::Form* form : screens) {
            if (QString::fromStdString(form->Name()) == name) return form;
        }
        return nullptr;
    }
};

struct Chain {
    const char* name;
    AnswerPattern answers;
    QStringList chain;
    friend void PrintTo(const Chain& chain, std::ostream* out) { *out << chain.name; }
};

class WholeRunTest : public FlowTest, public ::testing::WithParamInterface<Chain> {};

} // namespace

TEST_F(FlowTest, StartUpLoadsAndShowsOnlyPage1WithFocusOnItsFirstBox) {
    Start();
    EXPECT_EQ(LoadedScreens(), QStringList{"Form1"});
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    ASSERT_TRUE(QTest::qWaitForWindowActive(The<Form1>().Window()));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Check1");
    EXPECT_FALSE(runtime().HasEnded());
}

TEST_P(WholeRunTest, ChainOfFlaggedScreensThenBackToPage1WithAnswersKept) {
    const Chain& run = GetParam();
    Start();
    AnswerAndDiagnose(run.answers);
    EXPECT_EQ(FollowChain(), run.chain);
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    EXPECT_EQ(The<Form2>().CurrentState(), State::Hidden);
    EXPECT_EQ(TicksOn(The<Form1>()), Expected(1, run.answers));
    EXPECT_EQ(TicksOn(The<Form2>()), Expected(2, run.answers));
    // The same answers again give the same chain on the screens already loaded.
    const QStringList loaded = LoadedScreens();
    Click(The<Form1>(), "Command1");
    ASSERT_EQ(VisibleScreens(), QStringList{"Form2"});
    EXPECT_EQ(TicksOn(The<Form2>()), Expected(2, run.answers));
    Click(The<Form2>(), "Command1");
    EXPECT_EQ(FollowChain(), run.chain);
    EXPECT_EQ(LoadedScreens(), loaded);
    EXPECT_TRUE(reports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Chains, WholeRunTest,
    ::testing::Values(
        // Hesitation 1 only: none of A to D.
        Chain{"OnlyE", test::YesTo({11}), {"Form9"}},
        Chain{"AllYesGivesABC", test::AllYes(), {"Form5", "Form6", "Form7"}},
        Chain{"Items2To9GiveAD", test::YesTo({2, 3, 4, 5, 6, 7, 8, 9}), {"Form5", "Form8"}},
        Chain{"AllNoGivesD", test::AllNo(), {"Form8"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, SecondDiagnosisShowsOnlyTheNewChainOnScreensAsTheUserLeftThem) {
    Start();
    AnswerAndDiagnose(test::YesTo({2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_EQ(VisibleScreens(), QStringList{"Form5"});
    // The user types into a paragraph, then leaves by 次へ.
    Click(The<Form5>(), "Text2");
    QTest::keyClicks(Find(The<Form5>(), "Text2"), "memo");
    const QString typed = TextOf(The<Form5>(), "Text2");
    ASSERT_TRUE(typed.contains("memo"));
    ASSERT_EQ(FollowChain(), (QStringList{"Form5", "Form8"}));
    // While hidden, the screen's focus is left on a paragraph box.
    Find(The<Form5>(), "Text3")->setFocus();

    AnswerAndDiagnose(test::AllYes());
    ASSERT_EQ(VisibleScreens(), QStringList{"Form5"});
    EXPECT_EQ(TextOf(The<Form5>(), "Text2"), typed) << "Form5 was loaded again";
    EXPECT_EQ(FocusIn(The<Form5>()), "Text3") << "the focus was moved again";
    EXPECT_EQ(FollowChain(), (QStringList{"Form5", "Form6", "Form7"}));
    EXPECT_EQ(The<Form8>().CurrentState(), State::Hidden);

    AnswerAndDiagnose(test::AllNo());
    EXPECT_EQ(FollowChain(), QStringList{"Form8"});
    EXPECT_EQ(LoadedScreens(), (QStringList{"Form1", "Form2", "Form5", "Form6", "Form7", "Form8"}));
}

TEST_F(FlowTest, KeyboardAloneAnswersBothPagesAndWalksTheChain) {
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(The<Form1>().Window()));
    // No default or cancel button: Enter on a box and Esc press nothing.
    Press(Qt::Key_Return);
    Press(Qt::Key_Escape);
    EXPECT_EQ(LoadedScreens(), QStringList{"Form1"});
    EXPECT_FALSE(runtime().HasEnded());
    const auto answerByKeys = [this](platform::Form& page, int pageNumber) {
        for (int k = 1; k <= 16; ++k) {
            // Yes to items 2 to 9, no to the rest.
            const int item = 16 * (pageNumber - 1) + k;
            const int box = item >= 2 && item <= 9 ? 2 * k - 1 : 2 * k;
            TabTo(page, ("Check" + std::to_string(box)).c_str());
            Press(Qt::Key_Space);
        }
    };
    answerByKeys(The<Form1>(), 1);
    TabTo(The<Form1>(), "Command1");
    Press(Qt::Key_Return);
    ASSERT_EQ(VisibleScreens(), QStringList{"Form2"});
    ASSERT_TRUE(QTest::qWaitForWindowActive(The<Form2>().Window()));
    EXPECT_EQ(FocusIn(The<Form2>()), "Check1");
    answerByKeys(The<Form2>(), 2);
    TabTo(The<Form2>(), "Command1");
    Press(Qt::Key_Return);
    for (const char* screen : {"Form5", "Form8"}) {
        ASSERT_EQ(VisibleScreens(), QStringList{screen});
        ASSERT_TRUE(QTest::qWaitForWindowActive(ScreenNamed(screen)->Window()));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "Command1");
        Press(Qt::Key_Return);
    }
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    EXPECT_EQ(TicksOn(The<Form1>()), Expected(1, test::YesTo({2, 3, 4, 5, 6, 7, 8, 9})));
}

TEST_F(FlowTest, BackKeepsAnIncompletePage2WithoutCheckingIt) {
    Start();
    Answer(The<Form1>(), 1, test::AllNo());
    Click(The<Form1>(), "Command1");
    const AnswerPattern partial = [](int item) {
        return item < 20 ? Tick::Yes : item == 25 ? Tick::Both : Tick::None;
    };
    Answer(The<Form2>(), 2, partial);
    Click(The<Form2>(), "Command3");
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    EXPECT_FALSE(LoadedScreens().contains("Form4")) << "back ran the page check";

    Click(The<Form1>(), "Command1");
    EXPECT_EQ(VisibleScreens(), QStringList{"Form2"});
    EXPECT_EQ(TicksOn(The<Form2>()), Expected(2, partial));
    // Shown as left: the focus is still on the back button, not reset to Check1.
    EXPECT_EQ(FocusIn(The<Form2>()), "Command3");
    EXPECT_EQ(The<Form2>().Window()->windowTitle(), QStringLiteral(u"安全運転自己診断－２"));
}

// Which button, on which page, with the page's check-error dialog open or not.
struct Exit {
    const char* name;
    int page;
    const char* button;
    bool dialogOpen;
    friend void PrintTo(const Exit& exit, std::ostream* out) { *out << exit.name; }
};

class EndTest : public FlowTest, public ::testing::WithParamInterface<Exit> {};

TEST_P(EndTest, EndsAtOnceWithStatus0AndEveryWindowGone) {
    const Exit& exit = GetParam();
    Start();
    platform::Form* page = &The<Form1>();
    if (exit.page == 2) {
        Answer(The<Form1>(), 1, test::AllYes());
        Click(The<Form1>(), "Command1");
        page = &The<Form2>();
        Answer(*page, 2, [](int item) { return item == 32 ? Tick::None : Tick::Yes; });
    }
    if (exit.dialogOpen) {
        Click(*page, "Command1");
        ASSERT_EQ(VisibleScreens().size(), 2);
    }
    Click(*page, exit.button);
    EXPECT_TRUE(runtime().HasEnded());
    EXPECT_EQ(runtime().ExitStatus(), 0);
    EXPECT_TRUE(VisibleScreens().isEmpty()) << VisibleScreens().join(' ').toStdString();
    EXPECT_TRUE(reports().empty());
}

INSTANTIATE_TEST_SUITE_P(CancelAndExit, EndTest,
                         ::testing::Values(Exit{"Page1Cancel", 1, "Command2", false},
                                           Exit{"Page1Exit", 1, "Command3", false},
                                           Exit{"Page1CancelOverDialog", 1, "Command2", true},
                                           Exit{"Page1ExitOverDialog", 1, "Command3", true},
                                           Exit{"Page2Cancel", 2, "Command2", false},
                                           Exit{"Page2CancelOverDialog", 2, "Command2", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, ClosingFromTheFrame) {
    Start();
    Click(The<Form1>(), "Command1");
    ASSERT_EQ(VisibleScreens(), (QStringList{"Form1", "Form3"}));
    // A dialog closed from its frame acts as its OK.
    The<Form3>().Window()->close();
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    EXPECT_EQ(The<Form3>().CurrentState(), State::Hidden);

    Answer(The<Form1>(), 1, test::AllNo());
    Click(The<Form1>(), "Command1");
    Answer(The<Form2>(), 2, test::AllNo());
    Click(The<Form2>(), "Command1");
    ASSERT_EQ(VisibleScreens(), QStringList{"Form8"});
    // A result screen refuses: only 次へ moves on.
    The<Form8>().Window()->close();
    EXPECT_EQ(VisibleScreens(), QStringList{"Form8"});
    EXPECT_FALSE(runtime().HasEnded());
    Click(The<Form8>(), "Command1");
    ASSERT_EQ(VisibleScreens(), QStringList{"Form1"});

    // A question page closed from its frame ends the program as cancel does.
    The<Form1>().Window()->close();
    EXPECT_TRUE(runtime().HasEnded());
    EXPECT_EQ(runtime().ExitStatus(), 0);
    EXPECT_TRUE(VisibleScreens().isEmpty());
}

TEST_F(FlowTest, ClosingPage2FromTheFrameEndsTheProgram) {
    Start();
    Answer(The<Form1>(), 1, test::AllNo());
    Click(The<Form1>(), "Command1");
    The<Form2>().Window()->close();
    EXPECT_TRUE(runtime().HasEnded());
    EXPECT_EQ(runtime().ExitStatus(), 0);
    EXPECT_TRUE(VisibleScreens().isEmpty());
}
