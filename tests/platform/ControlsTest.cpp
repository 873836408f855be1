// The controls as the user and the program meet them: check-box values and
// clicks, focus, the keyboard, text boxes and labels.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "RuntimeError.h"
#include "TestScreens.h"

using namespace tolvane;
using namespace tolvane::platform;
using namespace tolvane::test;

namespace {

class ControlsTest : public PlatformTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(ShowActive(page())); }
    QCheckBox* Box(const char* name) { return Find<QCheckBox>(page(), name); }
};

// --- Check boxes ---

TEST_F(ControlsTest, ClicksTickAndUntickButNeverGray) {
    EXPECT_EQ(page().Check(1).Value(), 0);
    Click(page(), "Check1");
    EXPECT_EQ(page().Check(1).Value(), 1);
    Click(page(), "Check1");
    EXPECT_EQ(page().Check(1).Value(), 0);
    EXPECT_EQ(page().Check(2).Value(), 0) << "a click acts on its own box only";
}

TEST_F(ControlsTest, GrayedReadsTwoAndTheUserCanOnlyLeaveIt) {
    Box("Check1")->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(page().Check(1).Value(), 2);
    Click(page(), "Check1");
    EXPECT_EQ(page().Check(1).Value(), 1);
    for (int click = 0; click < 3; ++click) {
        Click(page(), "Check1");
        EXPECT_NE(page().Check(1).Value(), 2) << "after click " << click;
    }

    Box("Check2")->setCheckState(Qt::PartiallyChecked);
    page().Check(2).SetFocus();
    Type(Qt::Key_Space);
    EXPECT_EQ(page().Check(2).Value(), 1) << "Space on a grayed box";
    Type(Qt::Key_Space);
    EXPECT_EQ(page().Check(2).Value(), 0);
}

TEST_F(ControlsTest, AClickAnywhereInTheBoxToggles) {
    QCheckBox* box = Box("Check2");
    // Past the end of the caption, up to the right edge.
    const int captionEnd = 20 + box->fontMetrics().horizontalAdvance(box->text());
    ASSERT_LT(captionEnd, box->width() - 2) << "the box is too narrow for this test";
    const QPoint points[] = {{box->width() - 1, box->height() / 2},
                             {captionEnd + 1, 0},
                             {0, box->height() - 1},
                             {box->width() / 2, box->height() - 1}};
    int expected = 0;
    for (const QPoint& point : points) {
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, point);
        expected = 1 - expected;
        EXPECT_EQ(page().Check(2).Value(), expected) << point.x() << "," << point.y();
    }
}

// --- SetFocus ---

struct Unfocusable {
    const char* name;
    std::function<void(Page&)> prepare;
    const char* control;
};

class SetFocusRefused : public PlatformTest, public testing::WithParamInterface<Unfocusable> {};

TEST_P(SetFocusRefused, WithErrorFive) {
    GetParam().prepare(page());
    try {
        page().Control(GetParam().control).SetFocus();
        ADD_FAILURE() << "SetFocus succeeded";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetFocusRefused,
    testing::Values(Unfocusable{"NotLoaded", [](Page&) {}, "Command1"},
                    Unfocusable{"NeverShown", [](Page& p) { p.Hide(); }, "Command1"},
                    Unfocusable{"HiddenAgain",
                                [](Page& p) {
                                    p.Show();
                                    p.Hide();
                                },
                                "Check1"},
                    Unfocusable{"HiddenControl", [](Page& p) { p.Show(); }, "Command3"},
                    Unfocusable{"DisabledControl", [](Page& p) { p.Show(); }, "Text1"},
                    Unfocusable{"Label", [](Page& p) { p.Show(); }, "Label2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlsTest, SetFocusMovesTheKeyboardFocusOnAVisibleScreen) {
    for (const char* name : {"Command1", "Text2", "Check2", "Command2"}) {
        page().Control(name).SetFocus();
        EXPECT_EQ(FocusName(), name);
    }
}

// --- Keyboard ---

struct KeyPress {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class PressingKeys : public ControlsTest, public testing::WithParamInterface<KeyPress> {};

TEST_P(PressingKeys, PressOnlyTheFocusedButtonOnce) {
    page().Command(2).SetFocus();
    Type(GetParam().key, GetParam().modifiers);
    EXPECT_EQ(page().runs["Command2"], 1);
    EXPECT_EQ(page().runs["Command1"], 0);
}

TEST_P(PressingKeys, PressNothingOnACheckBoxButSpaceTicks) {
    page().Check(1).SetFocus();
    Type(GetParam().key, GetParam().modifiers);
    EXPECT_EQ(page().runs["Command1"] + page().runs["Command2"], 0) << "no button is a default";
    EXPECT_EQ(page().Check(1).Value(), GetParam().key == Qt::Key_Space ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, PressingKeys,
                         testing::Values(KeyPress{"Return", Qt::Key_Return, Qt::NoModifier},
                                         KeyPress{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier},
                                         KeyPress{"Space", Qt::Key_Space, Qt::NoModifier}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlsTest, EscapePressesNoButton) {
    for (const char* name : {"Command1", "Command2", "Check1", "Text2"}) {
        page().Control(name).SetFocus();
        Type(Qt::Key_Escape);
    }
    EXPECT_EQ(page().runs["Command1"] + page().runs["Command2"], 0);
    EXPECT_EQ(page().CurrentState(), Form::State::Visible);
}

TEST_F(ControlsTest, HeldEnterPressesTheButtonOnlyOnce) {
    page().Command(1).SetFocus();
    QWidget* button = QApplication::focusWidget();
    QTest::keyPress(button, Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeat);
    QTest::keyRelease(button, Qt::Key_Return);
    EXPECT_EQ(page().runs["Command1"], 1);
}

// --- Text boxes ---

TEST_F(ControlsTest, TextBoxWrapsWithoutFrameOrScrollBars) {
    auto* text = Find<QTextEdit>(page(), "Text2");
    const QString paragraph(400, QChar(u'運'));
    page().Text(2).SetText((paragraph + u'\n' + QStringLiteral(u"次の行")).toStdU16String());
    QCoreApplication::processEvents();

    EXPECT_EQ(text->document()->blockCount(), 2) << "line breaks start new lines";
    const QTextLayout* first = text->document()->firstBlock().layout();
    ASSERT_NE(first, nullptr);
    EXPECT_GT(first->lineCount(), 1) << "a long paragraph wraps at the box width";
    EXPECT_FALSE(text->verticalScrollBar()->isVisible());
    EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
    EXPECT_EQ(text->frameWidth(), 0);
}

TEST_F(ControlsTest, TabLeavesATextBoxInsteadOfTypingATab) {
    page().Text(2).SetFocus();
    QTest::keyClicks(QApplication::focusWidget(), "ab");
    Type(Qt::Key_Tab);
    EXPECT_EQ(Find<QTextEdit>(page(), "Text2")->toPlainText(), "ab");
    EXPECT_EQ(FocusName(), "Command2");
}

TEST_F(ControlsTest, DisabledTextBoxTakesNeitherFocusNorInput) {
    page().Command(1).SetFocus();
    auto* note = Find<QTextEdit>(page(), "Text1");
    QTest::mouseClick(note->viewport(), Qt::LeftButton);
    EXPECT_EQ(FocusName(), "Command1");
    QTest::keyClicks(note, "xyz");
    EXPECT_EQ(note->toPlainText(), QStringLiteral(u"注記"));
}

// --- Labels ---

TEST_F(ControlsTest, AutoSizeLabelFollowsItsCaption) {
    auto* label = Find<QLabel>(page(), "Label1");
    const QFontMetrics metrics(label->font());
    const int startWidth = label->width();
    EXPECT_GE(startWidth, metrics.horizontalAdvance(label->text()));
    EXPECT_LT(startWidth, 3315 / 15) << "the design width gives way to the caption's";

    page().Label(1).SetCaption(u"安全運転自己診断－１とその続き");
    EXPECT_GT(label->width(), startWidth);
    EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text()));
    EXPECT_EQ(label->pos(), QPoint(24, 8)) << "it grows to the right, from where it stands";

    page().Label(1).SetCaption(u"短");
    EXPECT_LT(label->width(), startWidth);
}

TEST_F(ControlsTest, FixedLabelKeepsItsBoxAndClipsOneLine) {
    auto* label = Find<QLabel>(page(), "Label2");
    const QRect box = label->geometry();
    page().Label(2).SetCaption(u"とても長い項目の文．．．．．．．．．．．．．．．．．．．．");
    EXPECT_EQ(label->geometry(), box);
    EXPECT_GT(label->fontMetrics().horizontalAdvance(label->text()), box.width())
        << "the caption is wider than the box, so it must be cut off";
    EXPECT_FALSE(label->wordWrap());
}

} // namespace
