#include <QLabel>
#include <QPushButton>

#include "Form.h"
#include "ProgramTest.h"
#include "RuntimeError.h"

using namespace tolvane;
using namespace tolvane::platform;

namespace {

const FormSpec& SampleLayout() {
    static const FormSpec layout{
        "Sample", u"Sample", 3000, 1500, Background::ButtonFace, true,
        {{ControlKind::Label, "Label1", {120, 120, 1200, 240}, 0, u"Label1"},
         {ControlKind::CheckBox, "Check1", {120, 480, 1200, 240}, 1, u"Check1"},
         {ControlKind::CommandButton, "Command1", {1500, 900, 1200, 495}, 2, u"Command1"}}};
    return layout;
}

// A screen that counts its loads and records what its handlers saw.
class Sample final : public Form {
public:
    Sample() : Form(SampleLayout()) {
        OnClick("Command1", [this] {
            ++clicks;
            if (endOnClick) runtime_.End();
            if (failOnClick) Label(1).SetText(u"labels have no text");
            afterEnd = true;
        });
    }
    int loads = 0;
    int clicks = 0;
    bool endOnClick = false;
    bool failOnClick = false;
    bool afterEnd = false;

protected:
    void Form_Load() override {
        ++loads;
        Label(1).SetCaption(u"loaded");
    }
};

class RuntimeTest : public test::ProgramTest {
protected:
    Sample& sample() { return runtime().Global<Sample>(); }
};

} // namespace

TEST_F(RuntimeTest, FirstOperationLoadsOnceAndHidden) {
    EXPECT_EQ(sample().CurrentState(), Form::State::NotLoaded);
    EXPECT_EQ(sample().Check(1).Value(), 0);
    EXPECT_EQ(sample().loads, 1);
    EXPECT_EQ(sample().CurrentState(), Form::State::Hidden);
    sample().Show();
    sample().Hide();
    sample().Show();
    EXPECT_EQ(sample().loads, 1);
    EXPECT_EQ(Find<QLabel>(sample(), "Label1")->text(), "loaded");
}

TEST_F(RuntimeTest, EndCutsTheHandlerShortAndStopsEverything) {
    sample().Show();
    sample().endOnClick = true;
    Click(sample(), "Command1");
    EXPECT_TRUE(runtime().HasEnded());
    EXPECT_EQ(runtime().ExitStatus(), 0);
    EXPECT_FALSE(sample().afterEnd);
    EXPECT_EQ(sample().CurrentState(), Form::State::Hidden);
    Dispatch([this] { sample().clicks = 100; });
    EXPECT_EQ(sample().clicks, 1) << "no handler runs after End";
}

TEST_F(RuntimeTest, FailingOperationEndsThroughTheErrorReport) {
    sample().Show();
    sample().failOnClick = true;
    Click(sample(), "Command1");
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].title, "tolvane");
    EXPECT_TRUE(reports()[0].text.contains("380"));
    EXPECT_TRUE(runtime().HasEnded());
    EXPECT_NE(runtime().ExitStatus(), 0);
    EXPECT_FALSE(sample().afterEnd);
}
