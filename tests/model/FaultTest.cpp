// Runtime failures at chosen points of a scripted run that visits every
// screen: whichever operation fails, the program must end through its error
// report with that error's number, run nothing further and leave no window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <limits>
#include <random>
#include <set>

#include "Diagnosis.h"
#include "Form.h"
#include "Screens.h"
#include "Session.h"

namespace tolvane::platform {
void PrintTo(Operation operation, std::ostream* out) { *out << model::OperationName(operation); }
} // namespace tolvane::platform

using namespace tolvane;
using namespace tolvane::model;
using platform::Operation;

namespace {

constexpr std::uint32_t kAllYes = 0xFFFFFFFF;
constexpr std::uint32_t kAllNo = 0;
constexpr std::uint32_t kCalm = 1u << 10; // a yes to item 11 only: hesitation 1

// Both check-error dialogs, then results A-B-C, D and E, then a return to
// page 2 and back: every screen loads and every kind of operation occurs.
void Script(Session& s) {
    s.Click(Screen::Form1);
    s.Click(Screen::Form3);
    s.Answer(1, 0xFFFF);
    s.Click(Screen::Form1);
    s.Click(Screen::Form2);
    s.Do({ActionKind::Close, Screen::Form4});
    s.Round(kAllYes);
    s.Round(kAllNo);
    s.Round(kCalm);
    s.Click(Screen::Form1);
    s.Click(Screen::Form2, 3);
}

std::array<int, 7> CountOperations() {
    Session s;
    Script(s);
    std::array<int, 7> counts{};
    for (int kind = 0; kind < 7; ++kind)
        counts[kind] = s.driver().Operations(Operation(kind));
    return counts;
}

class FaultPoints : public ::testing::TestWithParam<Operation> {};

} // namespace

TEST(FaultScript, VisitsEveryScreenWithoutFault) {
    Session s;
    Script(s);
    ASSERT_FALSE(s.Stopped());
    for (Screen screen : kAllScreens) {
        EXPECT_EQ(s.model().State(screen).loads, 1) << Name(screen);
    }
    EXPECT_EQ(s.model().Diagnoses(), 3);
}

// The first (Form1's load at start-up comes first of all), the last and a
// spread of operations of the kind in between.
TEST_P(FaultPoints, FailingOperationEndsTheProgramThroughItsReport) {
    const Operation kind = GetParam();
    const int total = CountOperations()[int(kind)];
    ASSERT_GT(total, 0) << OperationName(kind) << " never occurs in the script";
    std::set<int> points{1, total};
    std::mt19937 random{static_cast<unsigned>(kind)};
    while (points.size() < std::min<std::size_t>(7, total)) {
        points.insert(std::uniform_int_distribution<int>(1, total)(random));
    }
    for (const int point : points) {
        const int number = 20000 + 100 * int(kind) + point;
        SCOPED_TRACE(std::string(OperationName(kind)) + " #" + std::to_string(point));
        Session s({{kind, point, number}});
        Script(s);
        const auto& fault = s.driver().Fired();
        ASSERT_TRUE(fault.has_value()) << "the script ran to its end";
        EXPECT_EQ(fault->operation, kind);
        for (const std::string& problem : s.driver().CheckFailedEnd(number)) {
            ADD_FAILURE() << problem << " (fault at " << fault->where << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FaultPoints,
                         ::testing::Values(Operation::Load, Operation::Show, Operation::Hide,
                                           Operation::Caption, Operation::Text, Operation::Value,
                                           Operation::Focus),
                         [](const auto& info) { return std::string(OperationName(info.param)); });

namespace {

// Box values far beyond a tick, as no click can make them.
class HugeSheet final : public logic::AnswerSheet {
public:
    logic::Int16 BoxValue(int, int) override { return 20000; }
};

int OverflowNumber() {
    try {
        logic::CheckedAdd(std::numeric_limits<logic::Int16>::max(), 1);
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    ADD_FAILURE() << "a checked addition let an overflow through";
    return -1;
}

} // namespace

// An overflow inside scoring, mid-handler, ends the run like any runtime error.
TEST(Overflow, CheckedAdditionEndsTheProgramThroughItsReport) {
    const int number = OverflowNumber();
    for (const bool readout : {false, true}) {
        SCOPED_TRACE(readout ? "score readout" : "diagnosis");
        Session s;
        s.Answer(1, 0x00FF);
        s.Click(Screen::Form1);
        s.Answer(2, 0x0F0F);
        ASSERT_FALSE(s.Stopped());
        const int hides = s.driver().Operations(Operation::Hide);
        bool ranOn = false;
        s.driver().Runtime().Dispatch([&] {
            HugeSheet sheet;
            if (readout) {
                logic::ReadOutScores(sheet, screens::Module1());
            } else {
                logic::Diagnose(sheet, screens::Module1());
            }
            ranOn = true;
            s.driver().FormOf(Screen::Form2).Hide();
        });
        EXPECT_FALSE(ranOn) << "the handler went on after the overflow";
        EXPECT_EQ(s.driver().Operations(Operation::Hide), hides);
        for (const auto& problem : s.driver().CheckFailedEnd(number))
            ADD_FAILURE() << problem;
    }
}
