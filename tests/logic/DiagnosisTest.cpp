#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Diagnosis.h"
#include "FakeSheet.h"

using namespace tolvane::logic;
using tolvane::RuntimeError;
using tolvane::test::AllItems;
using tolvane::test::FakeSheet;

namespace {

std::string Chain(const DiagnosisState& state) {
    std::string chain;
    for (auto type = NextFlaggedType(state, std::nullopt); type;
         type = NextFlaggedType(state, type)) {
        chain += static_cast<char>('A' + static_cast<int>(*type));
    }
    return chain;
}

DiagnosisState DiagnoseYesTo(std::initializer_list<int> items) {
    FakeSheet sheet = FakeSheet::YesTo(items);
    DiagnosisState state;
    Diagnose(sheet, state);
    return state;
}

struct Outcome {
    const char* name;
    std::vector<int> yes;
    int roughness, irritation, hesitation;
    const char* chain;
};

// The twelve outcomes that can occur: E alone, or A and/or B with at most one of C and D.
const Outcome kOutcomes[] = {
    {"E", {2, 6, 11}, 1, 1, 1, "E"},
    {"A", {2, 3, 4, 11}, 3, 0, 1, "A"},
    {"B", {6, 7, 8, 9, 23, 11, 12}, 0, 5, 2, "B"},
    {"AB", {2, 3, 4, 6, 7, 8, 9, 23, 11}, 3, 5, 1, "AB"},
    {"AC", {2, 3, 4, 11, 12, 13}, 3, 0, 3, "AC"},
    {"BC", {6, 7, 8, 9, 23, 28, 29, 30}, 0, 5, 3, "BC"},
    {"ABC", {2, 3, 4, 6, 7, 8, 9, 23, 11, 12, 13}, 3, 5, 3, "ABC"},
    {"AD", {2, 3, 4, 5, 6, 7, 8, 9}, 4, 4, 0, "AD"},
    {"BD", {6, 7, 8, 9, 23}, 0, 5, 0, "BD"},
    {"ABD", {2, 3, 4, 6, 7, 8, 9, 23}, 3, 5, 0, "ABD"},
    {"D", {}, 0, 0, 0, "D"},
    {"AllYes", {}, 10, 8, 9, "ABC"},
};

class OutcomeTest : public ::testing::TestWithParam<Outcome> {};

} // namespace

TEST_P(OutcomeTest, ScoresFlagsAndChain) {
    const Outcome& outcome = GetParam();
    FakeSheet sheet = FakeSheet::YesTo({});
    if (std::string(outcome.name) == "AllYes") {
        sheet = FakeSheet::YesTo(AllItems());
    } else {
        for (const int item : outcome.yes)
            sheet.Answer(item, true);
    }
    DiagnosisState state;
    Diagnose(sheet, state);
    EXPECT_EQ(state.roughness, outcome.roughness);
    EXPECT_EQ(state.irritation, outcome.irritation);
    EXPECT_EQ(state.hesitation, outcome.hesitation);
    EXPECT_EQ(Chain(state), outcome.chain);
    for (int t = 0; t < kResultTypeCount; ++t) {
        const auto type = static_cast<ResultType>(t);
        const bool flagged =
            std::string(outcome.chain).find(static_cast<char>('A' + t)) != std::string::npos;
        EXPECT_EQ(state.Flag(type), flagged ? 1 : 0) << static_cast<char>('A' + t);
    }
}

INSTANTIATE_TEST_SUITE_P(Reachable, OutcomeTest, ::testing::ValuesIn(kOutcomes),
                         [](const auto& info) { return std::string(info.param.name); });

// Each band against the number of yes answers on its scale alone (item 22,
// which counts on two scales, left out): the score and every flag.
struct Band {
    const char* name;
    std::vector<int> items;
    std::vector<int> alsoYes; // a hesitation of 1 keeps C and D out of the way
    Int16 DiagnosisState::*score;
    std::string (*chain)(int yes);
};

const Band kBands[] = {
    {"RoughnessSetsAFromThree",
     {2, 3, 4, 5, 17, 18, 19, 20, 21},
     {11},
     &DiagnosisState::roughness,
     [](int n) { return std::string(n >= 3 ? "A" : "E"); }},
    {"IrritationSetsBFromFive",
     {6, 7, 8, 9, 23, 24, 25},
     {11},
     &DiagnosisState::irritation,
     [](int n) { return std::string(n >= 5 ? "B" : "E"); }},
    {"HesitationSetsDAtZeroAndCFromThree",
     {11, 12, 13, 14, 15, 28, 29, 30, 31},
     {},
     &DiagnosisState::hesitation,
     [](int n) {
         return std::string(n == 0 ? "D" : n >= 3 ? "C" : "E");
     }},
};

class BandTest : public ::testing::TestWithParam<Band> {};

TEST_P(BandTest, ScoreAndFlagsForEveryCount) {
    const Band& band = GetParam();
    for (std::size_t n = 0; n <= band.items.size(); ++n) {
        FakeSheet sheet = FakeSheet::YesTo({});
        for (const int item : band.alsoYes)
            sheet.Answer(item, true);
        for (std::size_t i = 0; i < n; ++i)
            sheet.Answer(band.items[i], true);
        DiagnosisState state;
        Diagnose(sheet, state);
        EXPECT_EQ(state.*band.score, static_cast<Int16>(n));
        EXPECT_EQ(Chain(state), band.chain(static_cast<int>(n))) << n << " yes answers";
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, BandTest, ::testing::ValuesIn(kBands),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Scales, Item22CountsOnRoughnessAndIrritation) {
    const DiagnosisState state = DiagnoseYesTo({22});
    EXPECT_EQ(state.roughness, 1);
    EXPECT_EQ(state.irritation, 1);
    EXPECT_EQ(state.hesitation, 0);
}

TEST(Scales, UnscoredItemsChangeNothing) {
    const DiagnosisState base = DiagnoseYesTo({2, 6, 11});
    for (const int item : {1, 10, 16, 26, 27, 32}) {
        FakeSheet sheet = FakeSheet::YesTo({2, 6, 11, item});
        DiagnosisState state;
        Diagnose(sheet, state);
        EXPECT_EQ(state, base) << item;
        for (const auto& [page, box] : sheet.reads) {
            EXPECT_NE(ItemAt(page, (box + 1) / 2), item) << "item " << item << " was read";
        }
    }
}

TEST(Scales, ReadsOnlyYesBoxesInScaleOrder) {
    FakeSheet sheet = FakeSheet::YesTo({});
    ScaleScore(sheet, Scale::Hesitation);
    const std::vector<std::pair<int, int>> expected{{1, 21}, {1, 23}, {1, 25}, {1, 27}, {1, 29},
                                                    {2, 23}, {2, 25}, {2, 27}, {2, 29}};
    EXPECT_EQ(sheet.reads, expected);
}

TEST(Scales, GrayedYesBoxAddsItsValue) {
    FakeSheet sheet = FakeSheet::YesTo({});
    sheet.Set(1, 3, 2); // item 2, a roughness item, grayed
    EXPECT_EQ(ScaleScore(sheet, Scale::Roughness), 2);
}

TEST(DiagnoseAgain, NothingOfTheFirstDiagnosisSurvives) {
    FakeSheet sheet = FakeSheet::YesTo(AllItems());
    DiagnosisState state;
    Diagnose(sheet, state);
    EXPECT_EQ(Chain(state), "ABC");
    sheet = FakeSheet::YesTo({});
    Diagnose(sheet, state);
    EXPECT_EQ(state, (DiagnosisState{0, 0, 0, 1, 0, 0, 0, 0}));
}

TEST(Overflow, AtTheSixteenBitLimitScoresStopWithTheOverflowError) {
    FakeSheet sheet;
    for (auto& page : sheet.boxes)
        page.fill(32767);
    DiagnosisState state;
    try {
        Diagnose(sheet, state);
        FAIL() << "no overflow raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 6);
    }
    // The score field is the running sum: it holds the first box when the second overflows.
    EXPECT_EQ(state.roughness, 32767);
    EXPECT_EQ(sheet.reads.size(), 2u);
}

TEST(Overflow, JustBelowTheLimitStillAdds) {
    FakeSheet sheet;
    sheet.Set(1, 3, 32766);
    sheet.Set(1, 5, 1);
    EXPECT_EQ(ScaleScore(sheet, Scale::Roughness), 32767);
}

TEST(NextFlagged, WalksTheTypeOrderAfterTheGivenType) {
    DiagnosisState state;
    state.typeA = state.typeC = 1;
    EXPECT_EQ(NextFlaggedType(state, std::nullopt), ResultType::A);
    EXPECT_EQ(NextFlaggedType(state, ResultType::A), ResultType::C);
    EXPECT_EQ(NextFlaggedType(state, ResultType::B), ResultType::C);
    EXPECT_EQ(NextFlaggedType(state, ResultType::C), std::nullopt);
    EXPECT_EQ(NextFlaggedType(DiagnosisState{}, std::nullopt), std::nullopt);
    state = {};
    state.typeE = 1;
    EXPECT_EQ(NextFlaggedType(state, std::nullopt), ResultType::E);
    EXPECT_EQ(NextFlaggedType(state, ResultType::E), std::nullopt);
}

TEST(NextFlagged, CountsOnlyFlagsEqualToOne) {
    DiagnosisState state;
    state.typeA = 2;
    state.typeB = -1;
    state.typeD = 1;
    EXPECT_EQ(NextFlaggedType(state, std::nullopt), ResultType::D);
}

TEST(ReadOut, RecomputesScoresAndLeavesTheFlags) {
    DiagnosisState state = DiagnoseYesTo(AllItems());
    FakeSheet incomplete;     // nothing ticked at all
    incomplete.Set(2, 11, 1); // but a yes to item 22
    ReadOutScores(incomplete, state);
    EXPECT_EQ(state.roughness, 1);
    EXPECT_EQ(state.irritation, 1);
    EXPECT_EQ(state.hesitation, 0);
    EXPECT_EQ(Chain(state), "ABC") << "the flags are the last diagnosis'";
}
