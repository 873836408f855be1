// The runtime's contract with the program: one instance per screen, loading
// on first use, hiding without losing anything, End, and errors that end the
// program through exactly one report.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <optional>

#include "ErrorReport.h"
#include "Int16.h"
#include "RuntimeError.h"
#include "TestScreens.h"

using namespace tolvane;
using namespace tolvane::platform;
using namespace tolvane::test;

namespace {

// The number as a number of its own in a report, not as part of another one.
bool Mentions(const QString& text, int number) {
    return text.contains(QRegularExpression(QString("(^|\\D)%1(\\D|$)").arg(number)));
}

// A code module: plain state that lives as long as the run.
struct Module {
    int counter = 0;
};

class RuntimeTest : public PlatformTest {
protected:
    // Records every operation the hook sees, in the order they happen.
    void TraceOperations() {
        runtime().SetFaultHook([this](Operation op, const std::string& where) {
            trace_.emplace_back(op, where);
            return std::optional<int>();
        });
    }
    std::vector<std::pair<Operation, std::string>> trace_;

    // After the program ended: no handler may run, however it is asked to.
    void ExpectNothingRunsAnyMore() {
        bool ran = false;
        Dispatch([&] { ran = true; });
        EXPECT_FALSE(ran) << "a handler ran after the program ended";
        if (QWidget* window = page().Window()) {
            const auto runsBefore = page().runs;
            window->findChild<QPushButton*>("Command2")->click();
            window->close();
            EXPECT_EQ(page().runs, runsBefore) << "a click or close request ran a handler";
            EXPECT_FALSE(window->isVisible());
        }
    }

    // The program ended through one error report carrying `number`, and the
    // handler that raised it went no further.
    void ExpectEndedByError(int number, bool reached) {
        ASSERT_EQ(reports().size(), 1u);
        EXPECT_EQ(reports()[0].title, "tolvane");
        EXPECT_TRUE(Mentions(reports()[0].text, number)) << reports()[0].text.toStdString();
        EXPECT_FALSE(reached) << "the handler went on after the error";
        EXPECT_TRUE(runtime().HasEnded());
        EXPECT_NE(runtime().ExitStatus(), 0);
        ExpectNothingRunsAnyMore();
    }
};

// --- Instances and the three states ---

TEST_F(RuntimeTest, GlobalGivesOneInstanceForTheWholeRun) {
    EXPECT_EQ(&runtime().Global<Page>(), &runtime().Global<Page>());
    runtime().Global<Module>().counter = 7;
    EXPECT_EQ(runtime().Global<Module>().counter, 7);
    EXPECT_NE(static_cast<void*>(&runtime().Global<Page>()),
              static_cast<void*>(&runtime().Global<Dialog>()));
}

TEST_F(RuntimeTest, FirstOperationLoadsTheScreenNestedInsideIt) {
    TraceOperations();
    page().onLoad = [](Page& p) {
        p.Label(2).SetCaption(u"読み込み済み");
        EXPECT_EQ(p.Check(1).Value(), 0);
    };
    EXPECT_EQ(page().CurrentState(), Form::State::NotLoaded);
    EXPECT_EQ(page().Window(), nullptr);

    EXPECT_EQ(page().Check(2).Value(), 0);

    EXPECT_EQ(page().loads, 1);
    EXPECT_EQ(page().stateDuringLoad, Form::State::Hidden) << "loaded before Form_Load runs";
    EXPECT_EQ(page().CurrentState(), Form::State::Hidden) << "loading does not show";
    const std::vector<std::pair<Operation, std::string>> expected{
        {Operation::Load, "Page"},
        {Operation::Caption, "Page.Label2"},
        {Operation::Value, "Page.Check1"},
        {Operation::Value, "Page.Check2"},
    };
    EXPECT_EQ(trace_, expected);
    EXPECT_EQ(Find<QLabel>(page(), "Label2")->text(), QStringLiteral(u"読み込み済み"));
}

struct LoadingCall {
    const char* name;
    std::function<void(Page&)> call;
    Form::State after;
};

class EveryCallLoads : public RuntimeTest, public testing::WithParamInterface<LoadingCall> {};

TEST_P(EveryCallLoads, OnceAndOnlyOnce) {
    GetParam().call(page());
    EXPECT_EQ(page().loads, 1);
    EXPECT_EQ(page().CurrentState(), GetParam().after);
    GetParam().call(page());
    page().Check(1).Value();
    EXPECT_EQ(page().loads, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, EveryCallLoads,
    testing::Values(
        LoadingCall{"Show", [](Page& p) { p.Show(); }, Form::State::Visible},
        LoadingCall{"Hide", [](Page& p) { p.Hide(); }, Form::State::Hidden},
        LoadingCall{"FormCaption", [](Page& p) { p.SetCaption(u"題"); }, Form::State::Hidden},
        LoadingCall{"ControlCaption", [](Page& p) { p.Command(1).SetCaption(u"次へ"); },
                    Form::State::Hidden},
        LoadingCall{"Text", [](Page& p) { p.Text(2).SetText(u"本文"); }, Form::State::Hidden},
        LoadingCall{"Value", [](Page& p) { p.Check(2).Value(); }, Form::State::Hidden},
        LoadingCall{"FailedSetFocus",
                    [](Page& p) { EXPECT_THROW(p.Command(1).SetFocus(), RuntimeError); },
                    Form::State::Hidden}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RuntimeTest, HideKeepsEveryValueAndShowDoesNotLoadAgain) {
    ShowActive(page());
    Click(page(), "Check1");
    auto* text = Find<QTextEdit>(page(), "Text2");
    QTest::mouseClick(text->viewport(), Qt::LeftButton);
    QTest::keyClicks(text, "abc");
    page().Label(2).SetCaption(u"変更");

    page().Hide();
    EXPECT_EQ(page().CurrentState(), Form::State::Hidden);
    EXPECT_EQ(page().Check(1).Value(), 1);
    page().Show();

    EXPECT_EQ(page().CurrentState(), Form::State::Visible);
    EXPECT_EQ(page().loads, 1);
    EXPECT_EQ(page().Check(1).Value(), 1);
    EXPECT_EQ(page().Check(2).Value(), 0);
    EXPECT_EQ(text->toPlainText(), "abc");
    EXPECT_EQ(Find<QLabel>(page(), "Label2")->text(), QStringLiteral(u"変更"));
}

TEST_F(RuntimeTest, ShowFromItsOwnLoadIsVisibleAtOnce) {
    page().onLoad = [](Page& p) {
        p.Show();
        EXPECT_EQ(p.CurrentState(), Form::State::Visible);
        p.Command(1).SetFocus();
    };
    // Loaded by a caption, not by Show: only the load's own Show makes it visible.
    Dispatch([this] { page().SetCaption(u"題"); });
    ASSERT_TRUE(reports().empty()) << reports()[0].text.toStdString();
    EXPECT_EQ(page().CurrentState(), Form::State::Visible);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page().Window(), 1000));
    EXPECT_EQ(FocusName(), "Command1") << "the first Show must not take the focus back";
}

TEST_F(RuntimeTest, ShowActivatesAScreenThatIsAlreadyVisible) {
    ShowActive(page());
    ShowActive(dialog());
    EXPECT_EQ(page().CurrentState(), Form::State::Visible) << "Show is modeless";
    ShowActive(page());
    EXPECT_EQ(QApplication::activeWindow(), page().Window());
    EXPECT_EQ(page().loads, 1);
}

// --- End ---

TEST_F(RuntimeTest, EndStopsTheHandlerAndEverythingAfterIt) {
    ShowActive(page());
    dialog().Show();
    page().actions["Command1"] = [](Page& p) { p.Rt().End(); };

    Click(page(), "Command1");

    EXPECT_EQ(page().runs["Command1"], 1);
    EXPECT_TRUE(page().finished.empty()) << "the handler went on after End";
    EXPECT_TRUE(runtime().HasEnded());
    EXPECT_EQ(runtime().ExitStatus(), 0);
    EXPECT_TRUE(reports().empty());
    EXPECT_FALSE(page().Window()->isVisible());
    EXPECT_FALSE(dialog().Window()->isVisible());
    ExpectNothingRunsAnyMore();
}

// The program as it really runs: its event loop, left with the status of its end.
class RunTest : public RuntimeTest {
protected:
    int RunUntilClick(std::function<void(Page&)> action) {
        page().actions["Command1"] = std::move(action);
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [this] {
            timedOut_ = true;
            QApplication::exit(99);
        });
        safety.start(3000);
        return runtime().Run([this] {
            page().Show();
            QTimer::singleShot(0, [this] { Click(page(), "Command1"); });
        });
    }
    bool timedOut_ = false;
};

TEST_F(RunTest, EndLeavesTheEventLoopWithStatusZero) {
    EXPECT_EQ(RunUntilClick([](Page& p) { p.Rt().End(); }), 0);
    EXPECT_FALSE(timedOut_) << "the event loop went on after End";
    EXPECT_TRUE(reports().empty());
}

TEST_F(RunTest, AnErrorLeavesTheEventLoopWithAFailingStatus) {
    const int status = RunUntilClick([](Page& p) { p.Label(1).SetText(u"x"); });
    EXPECT_NE(status, 0);
    EXPECT_FALSE(timedOut_) << "the event loop went on after the error report";
    EXPECT_EQ(reports().size(), 1u);
}

TEST_F(RunTest, EndInTheFirstHandlerNeverEntersTheLoop) {
    EXPECT_EQ(runtime().Run([this] {
        page().Show();
        runtime().End();
    }),
              0);
    EXPECT_FALSE(page().Window()->isVisible());
}

// --- Errors ---

struct Fault {
    const char* name;
    Operation operation;
    const char* where;
    std::function<void(Page&)> call;
};

class InjectedFault : public RuntimeTest, public testing::WithParamInterface<Fault> {};

TEST_P(InjectedFault, EndsTheProgramThroughOneReport) {
    const Fault& fault = GetParam();
    const int number = 30000 + static_cast<int>(fault.operation);
    runtime().SetFaultHook([&](Operation op, const std::string& where) -> std::optional<int> {
        if (op == fault.operation && where == fault.where) return number;
        return std::nullopt;
    });
    bool reached = false;
    Dispatch([&] {
        fault.call(page());
        reached = true;
    });
    ASSERT_NO_FATAL_FAILURE(ExpectEndedByError(number, reached));
    EXPECT_TRUE(reports()[0].text.contains(fault.where));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, InjectedFault,
    testing::Values(
        Fault{"Load", Operation::Load, "Page", [](Page& p) { p.Check(1).Value(); }},
        Fault{"Show", Operation::Show, "Page", [](Page& p) { p.Show(); }},
        Fault{"Hide", Operation::Hide, "Page",
              [](Page& p) {
                  p.Show();
                  p.Hide();
              }},
        Fault{"FormCaption", Operation::Caption, "Page", [](Page& p) { p.SetCaption(u"題"); }},
        Fault{"ButtonCaption", Operation::Caption, "Page.Command2",
              [](Page& p) { p.Command(2).SetCaption(u"戻る"); }},
        Fault{"Text", Operation::Text, "Page.Text2", [](Page& p) { p.Text(2).SetText(u"本文"); }},
        Fault{"Value", Operation::Value, "Page.Check2", [](Page& p) { p.Check(2).Value(); }},
        Fault{"Focus", Operation::Focus, "Page.Command1",
              [](Page& p) {
                  p.Show();
                  p.Command(1).SetFocus();
              }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RuntimeTest, AFailedLoadLeavesTheScreenUnloaded) {
    runtime().SetFaultHook([](Operation op, const std::string&) -> std::optional<int> {
        if (op == Operation::Load) return 31;
        return std::nullopt;
    });
    Dispatch([this] { page().Show(); });
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(page().CurrentState(), Form::State::NotLoaded);
    EXPECT_EQ(page().loads, 0);
}

struct MisusedControl {
    const char* name;
    std::function<void(Page&)> call;
    int number;
    const char* control;
};

class MisusedControls : public RuntimeTest, public testing::WithParamInterface<MisusedControl> {};

TEST_P(MisusedControls, RaiseTheirError) {
    const MisusedControl& misuse = GetParam();
    page().Show();
    bool reached = false;
    Dispatch([&] {
        misuse.call(page());
        reached = true;
    });
    ASSERT_NO_FATAL_FAILURE(ExpectEndedByError(misuse.number, reached));
    EXPECT_TRUE(reports()[0].text.contains(misuse.control)) << "the report names the control";
}

INSTANTIATE_TEST_SUITE_P(
    WrongKindOrName, MisusedControls,
    testing::Values(
        MisusedControl{"TextOfLabel", [](Page& p) { p.Label(1).SetText(u"x"); }, 380, "Label1"},
        MisusedControl{"TextOfCheckBox", [](Page& p) { p.Check(1).SetText(u"x"); }, 380, "Check1"},
        MisusedControl{"TextOfButton", [](Page& p) { p.Command(1).SetText(u"x"); }, 380,
                       "Command1"},
        MisusedControl{"CaptionOfTextBox", [](Page& p) { p.Text(2).SetCaption(u"x"); }, 380,
                       "Text2"},
        MisusedControl{"CaptionOfLine", [](Page& p) { p.Control("Line1").SetCaption(u"x"); }, 380,
                       "Line1"},
        MisusedControl{"ValueOfButton", [](Page& p) { p.Command(1).Value(); }, 380, "Command1"},
        MisusedControl{"ValueOfLabel", [](Page& p) { p.Label(2).Value(); }, 380, "Label2"},
        MisusedControl{"ValueOfTextBox", [](Page& p) { p.Text(2).Value(); }, 380, "Text2"},
        MisusedControl{"UnknownCheckBox", [](Page& p) { p.Check(9).Value(); }, 5, "Check9"},
        MisusedControl{"UnknownButton", [](Page& p) { p.Command(4).SetFocus(); }, 5, "Command4"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RuntimeTest, OverflowInAHandlerEndsWithErrorSix) {
    bool reached = false;
    Dispatch([&] {
        logic::Int16 score = 32760;
        for (int i = 0; i < 10; ++i)
            score = logic::CheckedAdd(score, 1);
        reached = true;
    });
    ASSERT_NO_FATAL_FAILURE(ExpectEndedByError(6, reached));
}

TEST_F(RuntimeTest, AnythingThrownEndsThroughTheReport) {
    bool reached = false;
    Dispatch([&] {
        throw 42;
        reached = true;
    });
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_FALSE(reached);
    EXPECT_NE(runtime().ExitStatus(), 0);
}

TEST(ErrorReport, IsAnApplicationModalCriticalBoxTitledWithTheProgram) {
    const auto box = BuildErrorReport(RuntimeError(380, "Form2.Label3.Text"));
    EXPECT_EQ(box->windowTitle(), "tolvane");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(Mentions(box->text(), 380));
    EXPECT_TRUE(box->text().contains("Form2.Label3.Text"));
}

// --- Close requests from the window frame ---

TEST_F(RuntimeTest, CloseRequestNeverClosesAndRunsTheScreensHandler) {
    ShowActive(page());
    ShowActive(dialog());
    page().Window()->close();
    dialog().Window()->close();
    EXPECT_EQ(page().runs["CloseRequest"], 1);
    EXPECT_EQ(page().finished, std::vector<std::string>{"CloseRequest"});
    EXPECT_EQ(page().CurrentState(), Form::State::Visible);
    EXPECT_EQ(dialog().CurrentState(), Form::State::Visible) << "by default nothing happens";
}

TEST_F(RuntimeTest, CloseRequestHandlerRunsThroughTheDispatchPoint) {
    ShowActive(page());
    page().actions["CloseRequest"] = [](Page& p) { p.Label(1).Value(); };
    page().Window()->close();
    ASSERT_NO_FATAL_FAILURE(ExpectEndedByError(380, !page().finished.empty()));
}

} // namespace
