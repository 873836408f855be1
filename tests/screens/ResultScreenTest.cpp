// The five result screens as first shown: title, heading, paragraphs, note,
// button, focus, and the stacking of their overlapping paragraph boxes.
#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "ResultScreens.h"
#include "ScreenTest.h"
#include "Screens.h"

using namespace tolvane;
using namespace tolvane::screens;
using logic::ResultType;

namespace {

constexpr QChar kIdeographicSpace(0x3000);
constexpr QChar kFullStop(0xFF0E);

struct Screen {
    ResultType type;
    const char* name;
    const char16_t* title;
    std::vector<qsizetype> lengths; // of Text1, Text2, ...; Text5 empty where 0
    friend void PrintTo(const Screen& screen, std::ostream* out) { *out << screen.name; }
};

const Screen kScreens[] = {
    {ResultType::A, "Form5", u"あなたはＡタイプ", {34, 142, 84, 85}},
    {ResultType::B, "Form6", u"あなたはＢタイプ", {43, 78, 58, 60, 108}},
    {ResultType::C, "Form7", u"あなたはＣタイプ", {38, 48, 119, 94, 0}},
    {ResultType::D, "Form8", u"あなたはＤタイプ", {40, 59, 125, 62, 0}},
    {ResultType::E, "Form9", u"あなたはＥタイプ", {38, 41, 76, 76, 0}},
};

class ResultScreenTest : public test::ScreenTest, public ::testing::WithParamInterface<Screen> {
protected:
    // Shown as the diagnose button shows the first screen of a chain.
    platform::Form& ShowScreen(ResultType type) {
        platform::Form& screen = ResultScreenOf(type);
        Dispatch([&screen] { screen.Show(); });
        EXPECT_EQ(screen.CurrentState(), platform::Form::State::Visible);
        return screen;
    }
    static std::string Box(std::size_t index) { return "Text" + std::to_string(index + 1); }
};

} // namespace

TEST_P(ResultScreenTest, FirstShowingHasItsTextsAndTheFocusOnNext) {
    const Screen& expected = GetParam();
    platform::Form& screen = ShowScreen(expected.type);
    EXPECT_EQ(VisibleScreens(), QStringList{expected.name});
    EXPECT_EQ(screen.Window()->windowTitle(), QString::fromUtf16(expected.title));
    EXPECT_EQ(Find<QLabel>(screen, "Label2")->text(), QStringLiteral(u"安全運転診断結果"));
    const QString note = Find<QLabel>(screen, "Label1")->text();
    EXPECT_EQ(note, QStringLiteral(u"２つ以上のタイプにあてはまるときがあります．"));
    EXPECT_EQ(note.size(), 22);
    EXPECT_EQ(Find<QPushButton>(screen, "Command1")->text(), QStringLiteral(u"次へ"));
    EXPECT_EQ(FocusIn(screen), "Command1");
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.Window(), 1000));
    EXPECT_EQ(QApplication::focusWidget(), Find(screen, "Command1"));
}

// How a paragraph ends and how many ideographic spaces it holds, where it
// departs from the usual single opening space and closing "．".
QString Ending(ResultType type, std::size_t box) {
    if (type == ResultType::A && box == 2) return QStringLiteral(u"．　");
    if (type == ResultType::C && box == 2) return QStringLiteral(".");
    return QString(kFullStop);
}
qsizetype IdeographicSpaces(ResultType type, std::size_t box) {
    return type == ResultType::A && (box == 1 || box == 2) ? 2 : 1;
}

TEST_P(ResultScreenTest, ParagraphsHaveTheirLengthsAndForms) {
    const Screen& expected = GetParam();
    platform::Form& screen = ShowScreen(expected.type);
    for (std::size_t i = 0; i < expected.lengths.size(); ++i) {
        SCOPED_TRACE(Box(i));
        const QString text = TextOf(screen, Box(i).c_str());
        EXPECT_EQ(text.size(), expected.lengths[i]);
        if (expected.lengths[i] == 0) continue;
        EXPECT_TRUE(text.startsWith(kIdeographicSpace));
        EXPECT_TRUE(text.endsWith(Ending(expected.type, i))) << text.right(3).toStdString();
        EXPECT_EQ(text.count(kIdeographicSpace), IdeographicSpaces(expected.type, i));
        EXPECT_FALSE(text.contains('\n') || text.contains('\r') || text.contains(QChar(0x2029)))
            << "a line break of the layout's text was left in";
    }
    const bool hasFifthBox = screen.Window()->findChild<QWidget*>("Text5") != nullptr;
    EXPECT_EQ(hasFifthBox, expected.lengths.size() == 5);
}

TEST_P(ResultScreenTest, TabGoesThroughTheBoxesWithNextAfterTheSecond) {
    const Screen& expected = GetParam();
    platform::Form& screen = ShowScreen(expected.type);
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.Window(), 1000));
    QStringList expectedOrder{"Text1", "Text2", "Command1", "Text3", "Text4"};
    if (expected.lengths.size() == 5) expectedOrder << "Text5";

    QStringList visited;
    for (int presses = 0; presses < 10 && (visited.isEmpty() || FocusIn(screen) != "Command1");
         ++presses) {
        visited << FocusIn(screen);
        Press(Qt::Key_Tab);
    }
    // The round starts on the button; read it from Text1.
    const qsizetype first = visited.indexOf("Text1");
    ASSERT_GE(first, 0) << visited.join(' ').toStdString();
    EXPECT_EQ(visited.mid(first) + visited.mid(0, first), expectedOrder);
}

TEST_P(ResultScreenTest, WhereBoxesOverlapTheHigherNumberedOneIsInFront) {
    const Screen& expected = GetParam();
    platform::Form& screen = ShowScreen(expected.type);
    QWidget* window = screen.Window();
    int overlaps = 0;
    for (std::size_t i = 0; i < expected.lengths.size(); ++i) {
        for (std::size_t j = i + 1; j < expected.lengths.size(); ++j) {
            const QWidget* lower = Find(screen, Box(i).c_str());
            const QWidget* higher = Find(screen, Box(j).c_str());
            const QRect overlap = lower->geometry() & higher->geometry();
            if (overlap.isEmpty()) continue;
            ++overlaps;
            const QWidget* hit = window->childAt(overlap.center());
            EXPECT_TRUE(hit == higher || higher->isAncestorOf(hit))
                << Box(i) << " and " << Box(j) << ": "
                << (hit ? hit->objectName().toStdString() : "nothing");
        }
    }
    EXPECT_GT(overlaps, 0);
}

TEST_F(ResultScreenTest, ExceptionalParagraphForms) {
    // Form5's second paragraph opens its last sentence with a second space.
    const QString rough = TextOf(ShowScreen(ResultType::A), "Text2");
    const qsizetype second = rough.indexOf(kIdeographicSpace, 1);
    ASSERT_GT(second, 0);
    EXPECT_EQ(rough.at(second - 1), kFullStop);

    // Form7's third paragraph: a full-width first sentence, then a second
    // sentence with " , ", later ", ", and a closing "." with nothing after it.
    const QString hesitant = TextOf(ShowScreen(ResultType::C), "Text3");
    const qsizetype firstStop = hesitant.indexOf(kFullStop);
    const qsizetype spacedComma = hesitant.indexOf(" , ");
    const qsizetype comma = hesitant.indexOf(", ", spacedComma + 3);
    EXPECT_GT(firstStop, 0);
    EXPECT_GT(spacedComma, firstStop);
    EXPECT_GT(comma, spacedComma);
    EXPECT_EQ(hesitant.count(kFullStop), 1);
    EXPECT_EQ(hesitant.indexOf('.'), hesitant.size() - 1);

    // Every finding opens with the same phrase.
    QStringList findings;
    for (const Screen& screen : kScreens)
        findings << TextOf(ShowScreen(screen.type), "Text1").mid(1);
    qsizetype common = 0;
    while (std::all_of(findings.begin(), findings.end(), [&](const QString& finding) {
        return finding.size() > common && finding.at(common) == findings.front().at(common);
    })) {
        ++common;
    }
    EXPECT_GE(common, 5) << findings.front().left(common).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Types, ResultScreenTest, ::testing::ValuesIn(kScreens),
                         [](const auto& info) { return std::string(info.param.name); });
