// The runtime's contract with the program: loading on first use, hiding
// without losing anything, End, and errors that end the program through
// exactly one report.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <optional>

#include "ErrorReport.h"
#include "RuntimeError.h"
#include "TestScreens.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

// The number as a number of its own in a report, not as part of another one.
bool Mentions(const QString& text, int number) {
    return text.contains(QRegularExpression(QString("(^|\\D)%1(\\D|$)").arg(number)));
}

class RuntimeTest : public PlatformTest {
protected:
    // Runs the program as it really runs: its event loop, a click on Command1
    // whose handler does `action`, and the status the loop leaves with.
    int RunUntilClick(std::function<void(Page&)> action) {
        page().actions["Command1"] = std::move(action);
        ArmSafety();
        return runtime().Run([this] {
            page().Show();
            QTimer::singleShot(0, [this] { Click(page(), "Command1"); });
        });
    }
    // Leaves an event loop that would otherwise never end.
    void ArmSafety() {
        safety_.setSingleShot(true);
        QObject::connect(&safety_, &QTimer::timeout, [this] {
            timedOut_ = true;
            QApplication::exit(99);
        });
        safety_.start(3000);
    }
    QTimer safety_;
    bool timedOut_ = false;

    // Runs `call` outside any handler: it must raise error `number` naming `where`.
    static void ExpectError(int number, const std::string& where,
                            const std::function<void()>& call) {
        try {
            call();
            ADD_FAILURE() << where << " went through";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), number) << where;
            EXPECT_TRUE(error.Where().starts_with(where)) << error.Where();
        }
    }

    // After the end no handler runs, however it is asked to, and no window shows.
    void ExpectNothingRunsAnyMore() {
        bool ran = false;
        Dispatch([&] { ran = true; });
        EXPECT_FALSE(ran) << "a handler ran after the program ended";
        const auto runsBefore = page().runs;
        page().Window()->findChild<QPushButton*>("Command2")->click();
        page().Window()->close();
        EXPECT_EQ(page().runs, runsBefore) << "a click or close request ran a handler";
        EXPECT_FALSE(page().Window()->isVisible());
        EXPECT_TRUE(page().finished.empty()) << "the handler went on after the end";
    }
};

} // namespace

TEST_F(RuntimeTest, FirstOperationLoadsTheScreenOnceWithItsLoadStepNestedInside) {
    page().onLoad = [](Page& p) {
        p.Label(2).SetCaption(u"読み込み済み");
        EXPECT_EQ(p.Check(1).Value(), 0);
    };
    EXPECT_EQ(page().Window(), nullptr);
    EXPECT_EQ(page().Check(2).Value(), 0);
    EXPECT_EQ(page().loads, 1);
    EXPECT_EQ(page().stateDuringLoad, Form::State::Hidden) << "loaded before Form_Load runs";
    EXPECT_EQ(page().CurrentState(), Form::State::Hidden) << "loading does not show";
    EXPECT_EQ(Find<QLabel>(page(), "Label2")->text(), QStringLiteral(u"読み込み済み"));
}

TEST_F(RuntimeTest, HideKeepsEverythingAndShowBringsItBackInFront) {
    ShowActive(page());
    Click(page(), "Check1");
    auto* text = Find<QTextEdit>(page(), "Text2");
    QTest::mouseClick(text->viewport(), Qt::LeftButton);
    QTest::keyClicks(text, "abc");
    page().Command(2).SetFocus();
    page().Hide();
    EXPECT_EQ(page().CurrentState(), Form::State::Hidden);
    ShowActive(dialog());
    ShowActive(page());
    EXPECT_EQ(page().loads, 1);
    EXPECT_EQ(page().Check(1).Value(), 1);
    EXPECT_EQ(text->toPlainText(), "abc");
    EXPECT_EQ(FocusName(), "Command2") << "only the first showing moves the focus";
    EXPECT_FALSE(Find(page(), "Command3")->isVisible()) << "a hidden control came back";
    // Show on a screen already visible brings it in front; the other stays.
    ShowActive(dialog());
    ShowActive(page());
    EXPECT_EQ(dialog().CurrentState(), Form::State::Visible);
}

TEST_F(RuntimeTest, CallsThatCannotActRaiseTheirErrors) {
    const auto focus = [this](const char* control) {
        return [this, control] { page().Control(control).SetFocus(); };
    };
    ExpectError(5, "Page.Command1", focus("Command1"));
    EXPECT_EQ(page().CurrentState(), Form::State::Hidden) << "even a failed call loads";
    ExpectError(5, "Page.Command1", focus("Command1")); // on a screen never shown
    ShowActive(page());
    ExpectError(5, "Page.Command3", focus("Command3")); // a hidden control
    ExpectError(5, "Page.Text1", focus("Text1"));       // a disabled one
    ExpectError(5, "Page.Label2", focus("Label2"));
    ExpectError(5, "Page.Check9", [this] { page().Check(9).Value(); });
    // Properties of another kind of control.
    ExpectError(380, "Page.Label1", [this] { page().Label(1).SetText(u"x"); });
    ExpectError(380, "Page.Text2", [this] { page().Text(2).SetCaption(u"x"); });
    ExpectError(380, "Page.Line1", [this] { page().Control("Line1").SetCaption(u"x"); });
    ExpectError(380, "Page.Command1", [this] { page().Command(1).Value(); });
    page().Hide();
    ExpectError(5, "Page.Check1", focus("Check1")); // on a screen hidden again
}

TEST_F(RuntimeTest, EndCutsTheHandlerShortAndLeavesTheLoopWithStatusZero) {
    const int status = RunUntilClick([this](Page& p) {
        dialog().Show();
        p.Rt().End();
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(timedOut_) << "the event loop went on after End";
    EXPECT_EQ(page().runs["Command1"], 1);
    EXPECT_TRUE(runtime().HasEnded());
    EXPECT_TRUE(reports().empty());
    EXPECT_FALSE(dialog().Window()->isVisible());
    ExpectNothingRunsAnyMore();
}

TEST_F(RuntimeTest, AnEndInTheFirstHandlerNeverEntersTheEventLoop) {
    ArmSafety();
    const int status = runtime().Run([this] {
        page().Show();
        runtime().End();
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(timedOut_);
    EXPECT_FALSE(page().Window()->isVisible());
}

TEST_F(RuntimeTest, AFailureEndsTheProgramThroughOneReportWithItsNumber) {
    runtime().SetFaultHook([](Operation op, const std::string& where) -> std::optional<int> {
        if (op == Operation::Caption && where == "Page.Label2") return 31234;
        return std::nullopt;
    });
    EXPECT_NE(RunUntilClick([](Page& p) { p.Label(2).SetCaption(u"x"); }), 0);
    EXPECT_FALSE(timedOut_) << "the event loop went on after the report";
    EXPECT_TRUE(page().finished.empty()) << "the handler went on after the failure";
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].title, "tolvane");
    EXPECT_TRUE(Mentions(reports()[0].text, 31234)) << reports()[0].text.toStdString();
    EXPECT_NE(runtime().ExitStatus(), 0);
}

TEST_F(RuntimeTest, AnythingThrownEndsThroughTheReport) {
    Dispatch([] { throw 42; });
    EXPECT_EQ(reports().size(), 1u);
    EXPECT_NE(runtime().ExitStatus(), 0);
}

TEST(ErrorReport, IsAnApplicationModalCriticalBoxTitledWithTheProgram) {
    const auto box = platform::BuildErrorReport(RuntimeError(380, "Form2.Label3.Text"));
    EXPECT_EQ(box->windowTitle(), "tolvane");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(Mentions(box->text(), 380));
    EXPECT_TRUE(box->text().contains("Form2.Label3.Text"));
}

TEST_F(RuntimeTest, CloseRequestNeverClosesAndRunsOnlyTheScreensHandler) {
    ShowActive(page());
    ShowActive(dialog());
    page().Window()->close();
    dialog().Window()->close();
    EXPECT_EQ(page().finished, std::vector<std::string>{"CloseRequest"});
    EXPECT_EQ(page().CurrentState(), Form::State::Visible);
    EXPECT_EQ(dialog().CurrentState(), Form::State::Visible) << "by default nothing happens";
    // The handler runs through the dispatch point: its failure ends the program.
    page().actions["CloseRequest"] = [](Page& p) { p.Label(1).Value(); };
    page().Window()->close();
    EXPECT_EQ(reports().size(), 1u);
    EXPECT_EQ(page().finished.size(), 1u) << "the handler went on after the failure";
}
