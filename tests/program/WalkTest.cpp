// The whole program against its model on the binding linked in: random walks,
// with and without faults, and scripted runs for what a walk reaches only by
// chance. TOLVANE_WALK_STEPS and TOLVANE_WALK_SEEDS (a count) make a soak.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "Form.h"
#include "Walk.h"

using namespace tolvane::check;

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
    const long steps = Env("TOLVANE_WALK_STEPS", 1500);
    const WalkStats s = RunWalk(seed, steps, faults);
    std::printf("[ walk     ] seed %llu: %ld steps, %ld programs, %ld diagnoses, %ld faults\n",
                seed, steps, s.programs, s.diagnoses, s.faults);
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

// A user's way through a fresh program beside the model, failing the test at
// the first divergence; it stops once the program ended.
struct Script {
    void Do(const Action& a) {
        for (const std::string& problem : Stopped() ? std::vector<std::string>{} : program.Do(a))
            ADD_FAILURE() << "acting on " << Name(a.screen) << ": " << problem, diverged = true;
    }
    bool Stopped() const { return diverged || program.model.ended; }
    void Click(Screen screen, int command = 1) { Do({Act::Click, screen, command}); }
    // Yes to the items listed, no to the others, ticking only what must change.
    void Answer(int page, const std::set<int>& yes) {
        for (int box = 1; box <= 32; ++box) {
            const int item = 16 * (page - 1) + (box + 1) / 2;
            if (program.model.boxes[page - 1][box - 1] != (yes.contains(item) == box % 2))
                Do({Act::Toggle, ScreenAt(page - 1), box, box % 3 ? Input::Mouse : Input::Space});
        }
    }
    // Both pages answered and diagnosed; returns the result chain back to page 1.
    std::string Round(const std::set<int>& yes) {
        Answer(1, yes), Click(Screen::Form1), Answer(2, yes), Click(Screen::Form2);
        std::string chain;
        for (int i = 4; i < 9 && !Stopped(); ++i)
            if (program.model.visible[i]) chain += char('A' + i - 4), Click(ScreenAt(i)), i = 3;
        return chain;
    }

    Program program;
    bool diverged = false;
};

struct Outcome {
    const char* chain; // the result screens' types, in turn
    std::set<int> yes;
};
class Outcomes : public ::testing::TestWithParam<Outcome> {};

} // namespace

// The twelve outcomes that can occur: the result screens come in type order,
// and scores and flags match the model.
TEST_P(Outcomes, ResultChain) {
    Script s;
    EXPECT_EQ(s.Round(GetParam().yes), GetParam().chain);
    EXPECT_FALSE(s.Stopped());
}

INSTANTIATE_TEST_SUITE_P(Reachable, Outcomes,
                         ::testing::Values(Outcome{"E", {2, 6, 11}}, Outcome{"A", {2, 3, 4, 11}},
                                           Outcome{"B", {6, 7, 8, 9, 23, 11, 12}},
                                           Outcome{"AB", {2, 3, 4, 6, 7, 8, 9, 23, 11}},
                                           Outcome{"AC", {2, 3, 4, 11, 12, 13}},
                                           Outcome{"BC", {6, 7, 8, 9, 23, 28, 29, 30}},
                                           Outcome{"ABC", {2, 3, 4, 6, 7, 8, 9, 23, 11, 12, 13}},
                                           Outcome{"AD", {2, 3, 4, 5, 6, 7, 8, 9}},
                                           Outcome{"BD", {6, 7, 8, 9, 23}},
                                           Outcome{"ABD", {2, 3, 4, 6, 7, 8, 9, 23}},
                                           Outcome{"C", {11, 12, 13}}, Outcome{"D", {}}),
                         [](const auto& info) { return std::string(info.param.chain); });

namespace {

// Where Tab goes round a screen, from where the focus goes on first showing.
std::vector<std::string> Round(Screen screen) {
    if (screen == Screen::Form5) return {"Command1", "Text3", "Text4", "Text1", "Text2"};
    if (screen == Screen::Form7) return {"Command1", "Text3", "Text4", "Text5", "Text1", "Text2"};
    std::vector<std::string> round{"Check1", "Check2", "Check3", "Check4", "Command1", "Command2"};
    for (int box = 5; box <= 32; ++box)
        round.push_back("Check" + std::to_string(box));
    round.push_back("Command3");
    return round;
}
class TabOrder : public ::testing::TestWithParam<Screen> {};

} // namespace

TEST_P(TabOrder, TabAndShiftTabGoRoundInTabIndexOrder) {
    const Screen screen = GetParam();
    const std::vector<std::string> round = Round(screen);
    Program program;
    program.runtime().Dispatch([screen] { FormOf(screen).Show(); });
    const std::size_t n = round.size();
    for (std::size_t i = 0; i <= n; ++i, TheDriver().Tab(screen, false))
        ASSERT_EQ(TheDriver().Focus(screen), round[i % n]) << i << " times Tab";
    for (std::size_t i = n + 1; i > 0; --i, TheDriver().Tab(screen, true))
        ASSERT_EQ(TheDriver().Focus(screen), round[i % n]) << "Shift+Tab";
}

INSTANTIATE_TEST_SUITE_P(Screens, TabOrder,
                         ::testing::Values(Screen::Form1, Screen::Form2, Screen::Form5,
                                           Screen::Form7),
                         [](const auto& info) { return Name(info.param); });

// A window opens in the middle of the screen (of a page's viewport).
TEST(Windows, OpenCentred) {
    Program program;
    program.runtime().Dispatch([] { FormOf(Screen::Form3).Show(), FormOf(Screen::Form7).Show(); });
    for (const Screen screen : {Screen::Form1, Screen::Form3, Screen::Form7}) {
        const auto [x, y] = TheDriver().OffCentre(screen);
        EXPECT_LE(std::abs(x) + std::abs(y), 2) << Name(screen);
    }
}

// A dark high-contrast scheme turned on while every screen is loaded: each
// text and line reads on its background, by a judge that reads known pairs
// right. Usually the page grey stays.
TEST(Colours, EveryTextReadsInAHighContrastScheme) {
    using tolvane::platform::ContrastRatio;
    ASSERT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21, 0.01);
    ASSERT_NEAR(ContrastRatio({255, 255, 255}, tolvane::platform::kPageGreyRgb), 1.82, 0.01);
    Program program;
    for (int s = 0; s < 9; ++s)
        program.runtime().Dispatch([s] { FormOf(ScreenAt(s)).Show(); });
    EXPECT_EQ(TheDriver().Drawn(Screen::Form7, "Text2").second.red, tolvane::platform::kPageGrey);
    TheDriver().DarkScheme(true);
    for (int s = 0; s < 9; ++s)
        for (const auto& control : FormOf(ScreenAt(s)).Layout().controls) {
            const auto [text, back] = TheDriver().Drawn(ScreenAt(s), control.name);
            EXPECT_GE(ContrastRatio(text, back), 4.5) << Name(ScreenAt(s)) << control.name;
        }
    TheDriver().DarkScheme(false);
}
