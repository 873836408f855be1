// A thousand complete diagnoses in one run, with other answers every time:
// each must match the model, and the memory in use must stop growing once
// every screen has been loaded.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <unistd.h>

#include "Session.h"

using namespace tolvane::model;

namespace {

// Resident set of this process, in KiB.
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's quarantine holds on to freed memory, so the resident set
// says nothing there; fewer rounds keep the sanitized suite within its time.
constexpr bool kMeasuresMemory = false;
constexpr int kRounds = 200;
#else
constexpr bool kMeasuresMemory = true;
constexpr int kRounds = 1000;
#endif

} // namespace

TEST(Endurance, ThousandDiagnosesMatchTheModelAndMemoryStaysFlat) {
    // The first three rounds bring up every result screen: A-B-C, D, then E.
    const std::uint32_t warmUp[] = {0xFFFFFFFF, 0, 1u << 10};
    std::mt19937 random(2024);
    Session s;
    std::uint32_t previous = 0xFFFFFFFF;
    long afterWarmUp = 0, afterFirst = 0;
    std::array<int, 5> screensShown{};
    for (int round = 0; round < kRounds && !s.Stopped(); ++round) {
        // Each round a new leaning, from nearly all "いいえ" to nearly all "はい".
        const double leaning = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        std::uint32_t yes = 0;
        for (int item = 0; item < 32; ++item) {
            if (std::bernoulli_distribution(leaning)(random)) yes |= 1u << item;
        }
        if (round < 3) yes = warmUp[round];
        if (yes == previous) yes ^= 1u << (random() % 32);
        previous = yes;
        s.Round(yes);
        for (int type = 0; type < 5; ++type) {
            screensShown[type] += s.model().Result().flags[type];
        }
        if (round == 0) afterFirst = ResidentKiB();
        if (round == 2) afterWarmUp = ResidentKiB();
    }
    ASSERT_FALSE(s.Stopped());
    ASSERT_EQ(s.model().Diagnoses(), kRounds);
    ASSERT_TRUE(s.model().State(Screen::Form1).visible);
    const long atEnd = ResidentKiB();
    std::printf("[ memory   ] resident after round 1: %ld KiB, after round 3: %ld KiB, after "
                "round %d: %ld KiB\n",
                afterFirst, afterWarmUp, kRounds, atEnd);
    std::printf("[ results  ] A %d, B %d, C %d, D %d, E %d\n", screensShown[0], screensShown[1],
                screensShown[2], screensShown[3], screensShown[4]);
    for (int type = 0; type < 5; ++type)
        EXPECT_GT(screensShown[type], 3) << "type " << type;
    if (kMeasuresMemory) {
        // A leak of even one small object per round would show as ~100 KiB.
        EXPECT_LT(atEnd - afterWarmUp, 512) << "the resident set grew over the rounds";
    }
}
