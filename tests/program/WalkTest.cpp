// The whole program against its model on whichever binding is linked in:
// random walks, with and without faults, and scripted runs for what a walk
// reaches only by chance. TOLVANE_WALK_STEPS and TOLVANE_WALK_SEEDS (a count)
// make the walks a soak.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "Form.h"
#include "Walk.h"

using namespace tolvane::check;
using tolvane::platform::Operation;

namespace {

long Env(const char* name, long otherwise) {
    const char* value = std::getenv(name);
    return value ? std::atol(value) : otherwise;
}

std::vector<unsigned long long> Seeds(unsigned long long first, long count) {
    std::vector<unsigned long long> seeds;
    for (long i = 0; i < Env("TOLVANE_WALK_SEEDS", count); ++i)
        seeds.push_back(first + i);
    return seeds;
}

class Walk : public ::testing::TestWithParam<unsigned long long> {};
class FaultWalk : public ::testing::TestWithParam<unsigned long long> {};

void ExpectWalk(unsigned long long seed, bool faults) {
    const WalkStats s = RunWalk(seed, Env("TOLVANE_WALK_STEPS", 1500), faults);
    std::printf("[ walk     ] seed %llu: %ld steps, %ld programs, %ld diagnoses, %ld faults\n",
                seed, s.steps, s.programs, s.diagnoses, s.faults);
    ASSERT_TRUE(s.failure.empty()) << s.failure;
    EXPECT_GT(faults ? s.faults : s.diagnoses, 0) << "the walk proved little";
}

} // namespace

TEST_P(Walk, ProgramMatchesTheModelAtEveryStep) { ExpectWalk(GetParam(), false); }
INSTANTIATE_TEST_SUITE_P(Seeds, Walk, ::testing::ValuesIn(Seeds(1, 5)));

// Every fault that strikes ends the program through its report, and nothing else.
TEST_P(FaultWalk, EveryStruckFaultEndsThroughTheReport) { ExpectWalk(GetParam(), true); }
INSTANTIATE_TEST_SUITE_P(Seeds, FaultWalk, ::testing::ValuesIn(Seeds(101, 3)));

namespace {

// A user's way through the program beside the model, failing the test at the
// first divergence; it stops once a fault has struck or the program ended.
struct Script {
    explicit Script(std::optional<FaultPlan> plan = std::nullopt) : program(plan) {}

    void Do(const Action& a) {
        for (const std::string& problem : Stopped() ? std::vector<std::string>{} : program.Do(a))
            ADD_FAILURE() << "after " << a.Describe() << ": " << problem, diverged = true;
    }
    bool Stopped() const { return diverged || program.struck || program.model.ended; }
    void Click(Screen screen, int command = 1) { Do({Act::Click, screen, command}); }
    // Yes where bit k-1 is set, no elsewhere, ticking only what must change.
    void Answer(int page, unsigned yes) {
        for (int box = 1; box <= 32; ++box) {
            if (program.model.boxes[page - 1][box - 1] !=
                (((yes >> (box - 1) / 2) & 1) == unsigned(box % 2)))
                Do({Act::Toggle, ScreenAt(page - 1), box, box % 3 ? Input::Mouse : Input::Space});
        }
    }
    // Both pages answered and diagnosed, then the result chain to page 1.
    void Round(unsigned yes) {
        if (program.model.visible[1]) Click(Screen::Form2, 3);
        Answer(1, yes & 0xFFFF), Click(Screen::Form1);
        Answer(2, yes >> 16), Click(Screen::Form2);
        for (int i = 4; i < 9 && !Stopped(); ++i)
            if (program.model.visible[i]) Click(ScreenAt(i)), i = 3;
    }

    Program program;
    bool diverged = false;
};

// Both dialogs, the results A-B-C, D and E, and back to page 2: every screen
// loads and every kind of operation occurs.
void VisitEverything(Script& s) {
    s.Click(Screen::Form1), s.Click(Screen::Form3);
    s.Answer(1, 0xFFFF), s.Click(Screen::Form1);
    s.Click(Screen::Form2), s.Do({Act::Close, Screen::Form4});
    s.Round(~0u), s.Round(0), s.Round(1u << 10); // a yes to item 11 alone: E
    s.Click(Screen::Form1);
}

class FaultPoints : public ::testing::TestWithParam<Operation> {};

} // namespace

TEST(Scripts, VisitEverythingLoadsEveryScreenOnce) {
    Script s;
    VisitEverything(s);
    EXPECT_FALSE(s.Stopped());
    EXPECT_EQ(s.program.model.loads, (std::array<int, 9>{1, 1, 1, 1, 1, 1, 1, 1, 1}));
}

// The first, the last and a spread of the operations of a kind.
TEST_P(FaultPoints, FailingOperationEndsTheProgramThroughItsReport) {
    const Operation kind = GetParam();
    int total = 0;
    {
        Script s;
        VisitEverything(s);
        total = s.program.operations[int(kind)];
    }
    for (const int point : std::set<int>{1, total / 3, total / 2, 2 * total / 3, total}) {
        if (point == 0) continue;
        SCOPED_TRACE("at operation " + std::to_string(point) + " of " + std::to_string(total));
        Script s({{kind, point, 20000 + point}});
        VisitEverything(s);
        ASSERT_EQ(s.program.struck, kind);
        for (const std::string& problem : s.program.CheckFailedEnd(20000 + point))
            ADD_FAILURE() << problem;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FaultPoints,
                         ::testing::Values(Operation::Load, Operation::Show, Operation::Hide,
                                           Operation::Caption, Operation::Text, Operation::Value,
                                           Operation::Focus));

// Form3's OK brings page 1 back beside page 2 when page 1 passed with the
// dialog open; a tick spoiled there must not reach the scores.
TEST(Scripts, DiagnoseChecksPage1AgainWhenSpoiledBesidePage2) {
    Script s;
    s.Click(Screen::Form1), s.Answer(1, 0), s.Click(Screen::Form1), s.Click(Screen::Form3);
    s.Do({Act::Toggle, Screen::Form1, 1});
    s.Answer(2, 0), s.Click(Screen::Form2);
    EXPECT_TRUE(s.program.model.visible[2] && s.program.model.diagnoses == 0 && !s.Stopped());
}

TEST(Scripts, MebibytePasteIsKeptWholeRoundTheChain) {
    std::u16string big;
    while (big.size() < (1u << 20))
        big += u"安全運転のために，ゆとりを持って走りましょう．Keep your distance\n";
    big.resize(1u << 20);
    Script s;
    s.Round(0), s.Click(Screen::Form1), s.Click(Screen::Form2); // D alone, twice
    s.Do({Act::Type, Screen::Form8, 1, Input::Paste, big});
    s.Click(Screen::Form8), s.Click(Screen::Form1), s.Click(Screen::Form2);
    EXPECT_TRUE(s.program.model.visible[7] && !s.Stopped());
}

namespace {

struct TabRound {
    Screen screen;
    std::vector<std::string> round; // from where the focus goes on first showing
};
void PrintTo(const TabRound& row, std::ostream* out) { *out << Name(row.screen); }
class TabOrder : public ::testing::TestWithParam<TabRound> {};

std::vector<std::string> PageRound() {
    std::vector<std::string> round{"Check1", "Check2", "Check3", "Check4", "Command1", "Command2"};
    for (int box = 5; box <= 32; ++box)
        round.push_back("Check" + std::to_string(box));
    round.push_back("Command3");
    return round;
}

} // namespace

TEST_P(TabOrder, TabAndShiftTabGoRoundInTabIndexOrder) {
    const auto& [screen, round] = GetParam();
    Program program;
    program.runtime().Dispatch([screen] { FormOf(screen).Show(); });
    Driver& driver = TheDriver();
    const std::size_t n = round.size();
    for (std::size_t i = 0; i <= n; ++i, driver.Tab(screen, false))
        ASSERT_EQ(driver.Focus(screen), round[i % n]) << i << " times Tab";
    for (std::size_t i = n + 1; i > 0; --i, driver.Tab(screen, true))
        ASSERT_EQ(driver.Focus(screen), round[i % n]) << "Shift+Tab";
}

INSTANTIATE_TEST_SUITE_P(
    Screens, TabOrder,
    ::testing::Values(TabRound{Screen::Form1, PageRound()}, TabRound{Screen::Form2, PageRound()},
                      TabRound{Screen::Form4, {"Command1"}},
                      TabRound{Screen::Form5, {"Command1", "Text3", "Text4", "Text1", "Text2"}},
                      TabRound{Screen::Form7,
                               {"Command1", "Text3", "Text4", "Text5", "Text1", "Text2"}}),
    [](const auto& info) { return Name(info.param.screen); });
