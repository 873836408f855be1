// The two question pages: what their load step writes, how the keyboard
// moves over them, how the item captions sit in their rows, and the hidden
// score readout.
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "Form1.h"
#include "Form2.h"
#include "ItemCatalogue.h"
#include "ResultScreens.h"
#include "ScreenTest.h"
#include "Screens.h"

using namespace tolvane;
using namespace tolvane::screens;
using test::AnswerPattern;
using State = platform::Form::State;

namespace {

class PageTest : public test::ScreenTest {
protected:
    // Starts and brings the user to the page, page 1 answered on the way.
    platform::Form& OpenPage(int page, const AnswerPattern& page1 = test::AllNo()) {
        Start();
        if (page == 1) return The<Form1>();
        Answer(The<Form1>(), 1, page1);
        Click(The<Form1>(), "Command1");
        return The<Form2>();
    }
    static platform::Form& PageForm(int page) {
        return page == 1 ? static_cast<platform::Form&>(The<Form1>()) : The<Form2>();
    }
    void ReadOut(int page) {
        Dispatch([page] {
            if (page == 1)
                The<Form1>().Command4_Click();
            else
                The<Form2>().Command4_Click();
        });
    }
    static QStringList Readout(const platform::Form& page) {
        QStringList texts;
        for (const char* name : {"Label22", "Label23", "Label24"})
            texts << Find<QLabel>(page, name)->text();
        return texts;
    }
    static QString Caption(const platform::Form& page, const std::string& name) {
        const QWidget* widget = Find(page, name.c_str());
        if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            return button->text();
        return {};
    }
    static const QStringList kUntouchedReadout;
};

const QStringList PageTest::kUntouchedReadout{"Label22", "Label23", "Label24"};

class QuestionPageTest : public PageTest, public ::testing::WithParamInterface<int> {};

std::string Name(const char* kind, int n) { return kind + std::to_string(n); }

} // namespace

TEST_P(QuestionPageTest, LoadStepWritesTitleNoteItemsAndCaptions) {
    const int page = GetParam();
    platform::Form& form = OpenPage(page);
    const QString title = page == 1 ? QStringLiteral(u"安全運転自己診断－１")
                                    : QStringLiteral(u"安全運転自己診断－２");
    EXPECT_EQ(form.Window()->windowTitle(), title);
    EXPECT_EQ(Caption(form, "Label1"), title);

    const QString note = TextOf(form, "Text1");
    EXPECT_EQ(note.size(), 63);
    EXPECT_EQ(note.front(), QChar(0x3000));
    EXPECT_EQ(note.back(), QChar(0xFF0E));
    EXPECT_EQ(note.count(QChar(0x300C)), 1);
    EXPECT_EQ(note.count(QChar(0x300D)), 1);
    EXPECT_LT(note.indexOf(QChar(0x300C)), note.indexOf(QChar(0x300D)));
    EXPECT_FALSE(note.contains('\n') || note.contains('\r') || note.contains(QChar(0x2029)));
    EXPECT_FALSE(Find(form, "Text1")->isEnabled());

    for (int k = 1; k <= logic::kItemsPerPage; ++k) {
        const int item = logic::ItemAt(page, k);
        EXPECT_EQ(Caption(form, Name("Label", k + 1)).toStdU16String(), logic::ItemCaption(item))
            << "item " << item;
        EXPECT_EQ(Caption(form, Name("Check", 2 * k - 1)), QStringLiteral(u"はい"))
            << "item " << item;
        EXPECT_EQ(Caption(form, Name("Check", 2 * k)), QStringLiteral(u"いいえ"))
            << "item " << item;
    }
    const QString cancel = QStringLiteral(u"キャンセル");
    const QStringList buttons =
        page == 1 ? QStringList{QStringLiteral(u"次へ"), cancel, QStringLiteral(u"終了")}
                  : QStringList{QStringLiteral(u"診断"), cancel, QStringLiteral(u"戻る")};
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(Caption(form, Name("Command", n)), buttons[n - 1]);
    EXPECT_EQ(Caption(form, "Command4"), "Command4");
    EXPECT_EQ(Readout(form), kUntouchedReadout);
}

TEST_P(QuestionPageTest, TabVisitsBoxesAndButtonsInPageOrderAndNothingHidden) {
    const int page = GetParam();
    platform::Form& form = OpenPage(page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Window(), 1000));
    ASSERT_EQ(FocusIn(form), "Check1") << "first showing";
    QStringList expected{"Check1", "Check2", "Check3", "Check4", "Command1", "Command2"};
    for (int box = 5; box <= logic::kBoxesPerPage; ++box)
        expected << QString::fromStdString(Name("Check", box));
    expected << "Command3";

    QStringList visited;
    for (int presses = 0; presses < 60 && (visited.isEmpty() || FocusIn(form) != "Check1");
         ++presses) {
        visited << FocusIn(form);
        Press(Qt::Key_Tab);
    }
    EXPECT_EQ(visited, expected);
    const auto* readout = Find<QPushButton>(form, "Command4");
    EXPECT_FALSE(readout->isVisible());
    EXPECT_EQ(readout->focusPolicy(), Qt::NoFocus);
    for (const char* name : {"Label22", "Label23", "Label24"})
        EXPECT_FALSE(Find(form, name)->isVisible());
}

TEST_P(QuestionPageTest, ItemCaptionsStayOnOneLineCutAtTheLabelsRightEdge) {
    const int page = GetParam();
    platform::Form& form = OpenPage(page);
    int cut = 0;
    for (int k = 1; k <= logic::kItemsPerPage; ++k) {
        SCOPED_TRACE("row " + std::to_string(k));
        auto* label = Find<QLabel>(form, Name("Label", k + 1).c_str());
        const auto* yes = Find(form, Name("Check", 2 * k - 1).c_str());
        EXPECT_FALSE(label->wordWrap());
        EXPECT_EQ(label->height(), 12);
        EXPECT_EQ(label->height(), yes->height());
        EXPECT_LT(label->geometry().right(), yes->geometry().left());
        // Number, stop and statement fit; only leader dots may be cut.
        const QFontMetrics metrics = label->fontMetrics();
        const auto statement = logic::ItemStatement(logic::ItemAt(page, k));
        EXPECT_LE(metrics.horizontalAdvance(label->text().left(3 + qsizetype(statement.size()))),
                  label->width());
        if (metrics.horizontalAdvance(label->text()) <= label->width()) continue;
        // A caption wider than its label keeps the label's width and runs on
        // to its right edge: clipped there, not elided or wrapped short.
        ++cut;
        QImage image(label->size(), QImage::Format_RGB32);
        label->render(&image);
        const QRgb background = image.pixel(image.width() - 1, 0);
        bool inkNearEdge = false;
        for (int x = image.width() - 6; x < image.width() && !inkNearEdge; ++x) {
            for (int y = 0; y < image.height(); ++y)
                inkNearEdge |= image.pixel(x, y) != background;
        }
        EXPECT_TRUE(inkNearEdge);
    }
    EXPECT_GT(cut, 0) << "no caption is wider than its label";
}

// Everything answered alike on both pages; the readout on one page.
struct ReadoutCase {
    const char* name;
    int page;
    AnswerPattern answers;
    QStringList scores;
    friend void PrintTo(const ReadoutCase& r, std::ostream* out) { *out << r.name; }
};

class ReadoutTest : public PageTest, public ::testing::WithParamInterface<ReadoutCase> {};

TEST_P(ReadoutTest, WritesPlainDecimalsIntoItsOwnPageOnly) {
    const ReadoutCase& readout = GetParam();
    OpenPage(2, readout.answers);
    Answer(The<Form2>(), 2, readout.answers);
    if (readout.page == 1) Click(The<Form2>(), "Command3");
    ReadOut(readout.page);
    EXPECT_EQ(Readout(PageForm(readout.page)), readout.scores);
    EXPECT_EQ(Readout(PageForm(3 - readout.page)), kUntouchedReadout);
    for (const char* name : {"Label22", "Label23", "Label24"}) {
        EXPECT_FALSE(Find(PageForm(readout.page), name)->isVisible());
    }
    // Nothing was checked, shown or diagnosed.
    EXPECT_EQ(VisibleScreens(), QStringList{readout.page == 1 ? "Form1" : "Form2"});
    const logic::DiagnosisState& state = Module1();
    EXPECT_EQ(state.typeA + state.typeB + state.typeC + state.typeD + state.typeE, 0);
    EXPECT_TRUE(reports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ReadoutTest,
    ::testing::Values(
        ReadoutCase{"AllYesOnPage1", 1, test::AllYes(), {"10", "8", "9"}},
        ReadoutCase{"AllYesOnPage2", 2, test::AllYes(), {"10", "8", "9"}},
        ReadoutCase{"AllNoOnPage2", 2, test::AllNo(), {"0", "0", "0"}},
        ReadoutCase{"Items2To9OnPage1", 1, test::YesTo({2, 3, 4, 5, 6, 7, 8, 9}), {"4", "4", "0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageTest, ReadoutAfterADiagnosisRescoresButKeepsTheFlags) {
    OpenPage(2, test::AllNo());
    Answer(The<Form2>(), 2, test::AllNo());
    Click(The<Form2>(), "Command1");
    Click(The<Form8>(), "Command1");
    ASSERT_EQ(VisibleScreens(), QStringList{"Form1"});
    const logic::DiagnosisState diagnosed = Module1();
    ASSERT_EQ(diagnosed.typeD, 1);

    Answer(The<Form1>(), 1, test::AllYes());
    ReadOut(1);
    EXPECT_EQ(Readout(The<Form1>()), (QStringList{"4", "4", "5"}));
    logic::DiagnosisState expected = diagnosed;
    expected.roughness = 4;
    expected.irritation = 4;
    expected.hesitation = 5;
    EXPECT_EQ(Module1(), expected);
}

TEST_F(PageTest, ReadoutOnPage1BeforePage2WasShownLoadsPage2Hidden) {
    OpenPage(1);
    Answer(The<Form1>(), 1, test::AllYes());
    ReadOut(1);
    EXPECT_EQ(Readout(The<Form1>()), (QStringList{"4", "4", "5"}));
    EXPECT_EQ(The<Form2>().CurrentState(), State::Hidden);
    EXPECT_EQ(VisibleScreens(), QStringList{"Form1"});
    // Loaded by its own load step, every box unticked.
    EXPECT_EQ(The<Form2>().Window()->windowTitle(), QStringLiteral(u"安全運転自己診断－２"));
    EXPECT_EQ(TicksOn(The<Form2>()), Expected(2, [](int) { return test::Tick::None; }));
}

INSTANTIATE_TEST_SUITE_P(BothPages, QuestionPageTest, ::testing::Values(1, 2),
                         [](const auto& info) { return "Page" + std::to_string(info.param); });
