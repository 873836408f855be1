// The controls as the user meets them: check boxes under the mouse and the
// keyboard, buttons pressed by keys, text boxes and self-sizing labels.
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "TestScreens.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

class ControlsTest : public PlatformTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(ShowActive(page())); }
};

} // namespace

TEST_F(ControlsTest, ClicksAnywhereInABoxToggleItAndNeverLeaveItGrayed) {
    auto* box = Find<QCheckBox>(page(), "Check2");
    // Past the end of the caption up to the right edge, and along the bottom.
    const int captionEnd = 20 + box->fontMetrics().horizontalAdvance(box->text());
    ASSERT_LT(captionEnd, box->width() - 2) << "the box is too narrow for this test";
    int expected = 0;
    for (const QPoint point :
         {QPoint(box->width() - 1, box->height() / 2), QPoint(captionEnd + 1, 0),
          QPoint(0, box->height() - 1), QPoint(box->width() / 2, box->height() - 1)}) {
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, point);
        expected = 1 - expected;
        EXPECT_EQ(page().Check(2).Value(), expected) << point.x() << "," << point.y();
    }
    EXPECT_EQ(page().Check(1).Value(), 0) << "a click acts on its own box only";

    // A grayed box reads 2; the user's clicks and Space only ever leave it.
    Find<QCheckBox>(page(), "Check1")->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(page().Check(1).Value(), 2);
    for (int click = 0; click < 3; ++click) {
        Click(page(), "Check1");
        EXPECT_EQ(page().Check(1).Value(), click % 2 == 0 ? 1 : 0) << "after click " << click;
    }
    box->setCheckState(Qt::PartiallyChecked);
    page().Check(2).SetFocus();
    Type(Qt::Key_Space);
    EXPECT_EQ(page().Check(2).Value(), 1) << "Space on a grayed box";
}

TEST_F(ControlsTest, KeysPressOnlyTheFocusedButtonOnce) {
    // Return, keypad Enter and Space press the focused button; no button is a
    // default, so on a check box only Space acts, ticking it. Escape does nothing.
    int pressed = 0;
    bool ticked = false;
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Return, Qt::KeyboardModifiers()},
                                         {Qt::Key_Enter, Qt::KeypadModifier},
                                         {Qt::Key_Space, Qt::KeyboardModifiers()},
                                         {Qt::Key_Escape, Qt::KeyboardModifiers()}}) {
        page().Command(2).SetFocus();
        Type(key, modifiers);
        pressed += key != Qt::Key_Escape;
        ticked |= key == Qt::Key_Space;
        page().Check(1).SetFocus();
        Type(key, modifiers);
        EXPECT_EQ(page().runs["Command2"], pressed) << "key " << std::hex << key;
        EXPECT_EQ(page().Check(1).Value(), ticked ? 1 : 0) << std::hex << key;
    }
    EXPECT_EQ(page().runs["Command1"], 0);
    EXPECT_EQ(page().CurrentState(), Form::State::Visible);

    // A held Enter repeats its key press, but presses the button once.
    page().Command(1).SetFocus();
    QWidget* button = QApplication::focusWidget();
    QTest::keyPress(button, Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(button, &repeat);
    QTest::keyRelease(button, Qt::Key_Return);
    EXPECT_EQ(page().runs["Command1"], 1);
}

TEST_F(ControlsTest, TextBoxWrapsWithoutFrameOrScrollBarsAndTabLeavesIt) {
    auto* text = Find<QTextEdit>(page(), "Text2");
    page().Text(2).SetText((QString(400, QChar(u'運')) + u'\n' + "ab").toStdU16String());
    QCoreApplication::processEvents();
    EXPECT_EQ(text->document()->blockCount(), 2) << "line breaks start new lines";
    EXPECT_GT(text->document()->firstBlock().layout()->lineCount(), 1) << "long lines wrap";
    EXPECT_FALSE(text->verticalScrollBar()->isVisible());
    EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
    EXPECT_EQ(text->frameWidth(), 0);

    page().Text(2).SetFocus();
    Type(Qt::Key_Tab);
    EXPECT_FALSE(text->toPlainText().contains('\t'));
    EXPECT_EQ(FocusName(), "Command2");
}

TEST_F(ControlsTest, AutoSizeLabelGrowsToTheRightWithItsCaption) {
    auto* label = Find<QLabel>(page(), "Label1");
    const int startWidth = label->width();
    EXPECT_GE(startWidth, label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_LT(startWidth, 3315 / 15) << "the design width gives way to the caption's";
    page().Label(1).SetCaption(u"安全運転自己診断－１とその続き");
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_GT(label->width(), startWidth);
    EXPECT_EQ(label->pos(), QPoint(24, 8));
}
