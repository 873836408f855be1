// Random walks through the real program against the reference model. The
// seeds are fixed; TOLVANE_WALK_SEED and TOLVANE_WALK_STEPS replay one walk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "Walk.h"

using namespace tolvane::model;

namespace {

long StepsPerWalk() {
    const char* steps = std::getenv("TOLVANE_WALK_STEPS");
    return steps ? std::atol(steps) : 600;
}

std::vector<std::uint64_t> Seeds(std::vector<std::uint64_t> fixed) {
    if (const char* seed = std::getenv("TOLVANE_WALK_SEED"))
        return {std::strtoull(seed, nullptr, 10)};
    return fixed;
}

void Print(const char* what, const WalkStats& stats) {
    std::printf("[ walk     ] %s: %ld steps, %ld programs, %ld diagnoses, %ld units typed, "
                "faults armed %ld fired %ld unreached %ld\n",
                what, stats.steps, stats.programs, stats.diagnoses, stats.typedUnits,
                stats.faultsArmed, stats.FaultsFired(), stats.faultsUnreached);
}

class ModelWalk : public ::testing::TestWithParam<std::uint64_t> {};
class FaultWalk : public ::testing::TestWithParam<std::uint64_t> {};

} // namespace

TEST_P(ModelWalk, ProgramMatchesTheModelAtEveryStep) {
    const WalkStats stats = RunWalk({GetParam(), StepsPerWalk(), 0});
    Print("model", stats);
    ASSERT_TRUE(stats.failure.empty()) << stats.failure;
    // A walk that never gets past the pages proves little.
    EXPECT_GT(stats.diagnoses, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ModelWalk, ::testing::ValuesIn(Seeds({1, 2, 3, 4, 5})));

// Faults armed at random points: each one that strikes must end the program
// through its report and nothing else.
TEST_P(FaultWalk, EveryStruckFaultEndsThroughTheReport) {
    const WalkStats stats = RunWalk({GetParam(), StepsPerWalk(), 30});
    Print("faults", stats);
    ASSERT_TRUE(stats.failure.empty()) << stats.failure;
    EXPECT_GT(stats.FaultsFired(), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, FaultWalk, ::testing::ValuesIn(Seeds({101, 102, 103})));
