// What the random walk against the model does not do, or does only by chance,
// on the question pages: a whole diagnosis by keyboard alone, the hidden score
// readout, and diagnosing after page 1 was spoiled beside page 2.
#include <QLabel>

#include "ScreenTest.h"

using namespace tolvane;
using namespace tolvane::screens;

namespace {

class PageTest : public test::ScreenTest {
protected:
    void SetUp() override { Dispatch(StartUp); }

    // Presses Tab until `name` has the focus; fails after a full round.
    static void TabTo(const platform::Form& form, const std::string& name) {
        for (int presses = 0; presses < 100; ++presses) {
            if (FocusIn(form) == QString::fromStdString(name)) return;
            Press(Qt::Key_Tab);
        }
        FAIL() << "Tab never reaches " << form.Name() << "." << name;
    }

    // Answers "はい" (or "いいえ") to every item of a page by clicks.
    static void AnswerAll(const platform::Form& page, bool yes) {
        for (int box = 1; box <= 32; ++box) {
            const std::string name = test::Numbered("Check", box);
            const auto* check = Find<QAbstractButton>(page, name.c_str());
            if (check && check->isChecked() != ((box % 2 == 1) == yes)) Click(page, name.c_str());
        }
    }

    static QStringList Readout(const platform::Form& page) {
        QStringList texts;
        for (const char* name : {"Label22", "Label23", "Label24"}) {
            const auto* label = Find<QLabel>(page, name);
            EXPECT_FALSE(label->isVisible()) << page.Name() << "." << name;
            texts << label->text();
        }
        return texts;
    }
};

} // namespace

TEST_F(PageTest, OneWholeDiagnosisByKeyboardAlone) {
    for (const platform::Form* page : {&test::Instance<Form1>(), &test::Instance<Form2>()}) {
        ASSERT_EQ(VisibleScreens(), QStringList{QString::fromStdString(page->Name())});
        ASSERT_TRUE(QTest::qWaitForWindowActive(page->Window(), 1000));
        for (int k = 1; k <= 16; ++k) {
            // Yes to items 2 to 9, no to the rest.
            const int item = page == &The<Form1>() ? k : 16 + k;
            TabTo(*page, test::Numbered("Check", item >= 2 && item <= 9 ? 2 * k - 1 : 2 * k));
            Press(Qt::Key_Space);
        }
        TabTo(*page, "Command1");
        Press(Qt::Key_Return);
    }
    for (const platform::Form* result : {&test::Instance<Form5>(), &test::Instance<Form8>()}) {
        ASSERT_EQ(VisibleScreens(), QStringList{QString::fromStdString(result->Name())});
        ASSERT_TRUE(QTest::qWaitForWindowActive(result->Window(), 1000));
        Press(Qt::Key_Return);
    }
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    // Flags A and D, scores 4, 4 and 0: each Space ticked its own box.
    EXPECT_EQ(Module1(), (logic::DiagnosisState{1, 0, 0, 1, 0, 4, 4, 0}));
    EXPECT_TRUE(reports().empty());
}

TEST_F(PageTest, ReadoutWritesTheScoresIntoItsOwnPageOnlyAndKeepsTheFlags) {
    // Before page 2 was ever shown: reading its boxes loads it, hidden and unticked.
    Dispatch([] { The<Form1>().Command4_Click(); });
    EXPECT_EQ(Readout(The<Form1>()), (QStringList{"0", "0", "0"}));
    ASSERT_EQ(The<Form2>().CurrentState(), platform::Form::State::Hidden);
    EXPECT_EQ(Readout(The<Form2>()), (QStringList{"Label22", "Label23", "Label24"}));
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});

    // After a diagnosis (all "いいえ": type D), everything answered "はい".
    AnswerAll(The<Form1>(), false);
    Click(The<Form1>(), "Command1");
    AnswerAll(The<Form2>(), false);
    Click(The<Form2>(), "Command1");
    Click(The<Form8>(), "Command1");
    logic::DiagnosisState expected = Module1();
    ASSERT_EQ(expected.typeD, 1);
    AnswerAll(The<Form1>(), true);
    Click(The<Form1>(), "Command1");
    AnswerAll(The<Form2>(), true);
    Dispatch([] { The<Form2>().Command4_Click(); });
    EXPECT_EQ(Readout(The<Form2>()), (QStringList{"10", "8", "9"}));
    EXPECT_EQ(Readout(The<Form1>()), (QStringList{"0", "0", "0"}));
    // Rescored, with the flags as the diagnosis left them and nothing moving on.
    expected.roughness = 10;
    expected.irritation = 8;
    expected.hesitation = 9;
    EXPECT_EQ(Module1(), expected);
    EXPECT_EQ(VisibleScreens(), QStringList{"Form2"});
    EXPECT_TRUE(reports().empty());
}

// Form3's OK shows page 1 beside page 2 when page 1 passed with the dialog
// still open; a tick spoiled there must not reach the scores.
TEST_F(PageTest, DiagnoseChecksPage1AgainWhenItWasSpoiledBesidePage2) {
    Click(The<Form1>(), "Command1"); // untouched: the dialog opens
    AnswerAll(The<Form1>(), false);
    Click(The<Form1>(), "Command1"); // passes: page 2 comes up, the dialog stays
    ASSERT_EQ(VisibleScreens(), (QStringList{"Form2", "Form3"}));
    Click(The<Form3>(), "Command1"); // OK: page 1 again, beside page 2
    ASSERT_EQ(VisibleScreens(), (QStringList{"Form1", "Form2"}));
    Click(The<Form1>(), "Check1"); // item 1 now has both ticks
    AnswerAll(The<Form2>(), false);
    Click(The<Form2>(), "Command1");
    EXPECT_EQ(VisibleScreens(), (QStringList{"Form1", "Form2", "Form3"}));
    EXPECT_EQ(Module1(), logic::DiagnosisState{}) << "diagnosed with a doubled tick";

    Click(The<Form1>(), "Check1"); // mended: the diagnosis goes ahead
    Click(The<Form2>(), "Command1");
    EXPECT_EQ(Module1().typeD, 1);
    EXPECT_TRUE(VisibleScreens().contains("Form8"));
}
