// The diagnosis core on answer sheets in memory: the item catalogue against
// the figures the questionnaire states, the page check, the bands and the
// result order, the readout.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "Diagnosis.h"
#include "ItemCatalogue.h"
#include "PageCheck.h"

using namespace tolvane::logic;

namespace {

// An answer sheet in memory that records the order of its reads.
struct Sheet final : AnswerSheet {
    // Every item answered: yes to those listed, no to the others.
    explicit Sheet(const std::vector<int>& yes = {}) {
        for (int item = 1; item <= 32; ++item) {
            const bool y = std::count(yes.begin(), yes.end(), item);
            boxes[(item - 1) / 16][2 * ((item - 1) % 16)] = y;
            boxes[(item - 1) / 16][2 * ((item - 1) % 16) + 1] = !y;
        }
    }
    Int16 BoxValue(int page, int box) override {
        reads.emplace_back(page, box);
        return boxes.at(page - 1).at(box - 1);
    }
    std::array<std::array<Int16, 32>, 2> boxes{};
    std::vector<std::pair<int, int>> reads;
};

std::vector<int> Range(int from, int to) {
    std::vector<int> items;
    for (int item = from; item <= to; ++item)
        items.push_back(item);
    return items;
}

std::string Chain(const DiagnosisState& state) {
    std::string chain;
    for (auto type = NextFlaggedType(state, std::nullopt); type;
         type = NextFlaggedType(state, type))
        chain += char('A' + int(*type));
    return chain;
}

int ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const tolvane::RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

} // namespace

// Statement length with its "．", and leader dots, items 1 to 32.
TEST(Catalogue, CaptionsAreNumberStopStatementAndDotsAtTheirLengths) {
    constexpr int kStatement[] = {12, 23, 22, 19, 18, 25, 25, 18, 21, 15, 25, 22, 25, 26, 20, 25,
                                  15, 17, 18, 25, 25, 19, 15, 19, 15, 22, 19, 27, 28, 29, 21, 15};
    constexpr int kDots[] = {28, 21, 19, 25, 24, 17, 19, 25, 21, 29, 19, 22, 22, 21, 27, 22,
                             28, 27, 26, 19, 17, 23, 29, 24, 27, 22, 25, 17, 19, 18, 26, 32};
    for (int item = 1; item <= 32; ++item) {
        const std::u16string caption = ItemCaption(item);
        const std::u16string_view statement = ItemStatement(item);
        const char16_t tens = item < 10 ? u'　' : char16_t(u'０' + item / 10);
        EXPECT_EQ(caption.substr(0, 3), (std::u16string{tens, char16_t(u'０' + item % 10), u'．'}));
        ASSERT_EQ(statement.size(), std::size_t(kStatement[item - 1])) << item;
        EXPECT_EQ(caption.substr(3),
                  std::u16string(statement) + std::u16string(kDots[item - 1], u'・'));
        EXPECT_EQ(statement.back(), u'．') << item;
        for (const char16_t c : statement) // full-width, one code unit each
            EXPECT_TRUE((c > u'、' && c < 0xD800 && c != u'。') || c > 0xFF00)
                << item << ": " << int(c);
    }
    EXPECT_EQ(ItemCaption(10), u"１０．いつもシートベルトをしている．" + std::u16string(29, u'・'));
}

namespace {

struct PageCase {
    const char* name;
    std::vector<std::pair<int, Int16>> set; // box and value, over an all-"no" page
    bool passes;
    std::size_t reads;
};
class PageCheckTest : public ::testing::TestWithParam<std::tuple<int, PageCase>> {};

} // namespace

TEST_P(PageCheckTest, ReadsYesBeforeNoAndStopsAtTheFirstFailingItem) {
    const auto& [page, c] = GetParam();
    Sheet sheet;
    for (const auto& [box, value] : c.set)
        sheet.boxes[page - 1][box - 1] = value;
    EXPECT_EQ(CheckPage(sheet, page) == PageCheckResult::Pass, c.passes);
    ASSERT_EQ(sheet.reads.size(), c.reads);
    for (std::size_t i = 0; i < c.reads; ++i)
        EXPECT_EQ(sheet.reads[i], std::pair(page, int(i) + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageCheckTest,
    ::testing::Combine(
        ::testing::Values(1, 2),
        ::testing::Values(PageCase{"AllNo", {}, true, 32},
                          PageCase{"YesAndNo", {{3, 1}, {4, 0}, {31, 1}, {32, 0}}, true, 32},
                          PageCase{"Untouched", {{1, 0}, {2, 0}}, false, 2},
                          PageCase{"FirstUnansweredLastDoubled", {{2, 0}, {31, 1}}, false, 2},
                          PageCase{"LastDoubled", {{31, 1}}, false, 32},
                          PageCase{"LastUnanswered", {{32, 0}}, false, 32},
                          PageCase{"GrayedBesideATick", {{31, 1}, {32, 2}}, false, 32},
                          PageCase{"GrayedAlone", {{15, 2}, {16, 0}}, false, 16})),
    [](const auto& info) {
        return std::get<1>(info.param).name + std::to_string(std::get<0>(info.param));
    });

namespace {

struct Outcome {
    const char* name;
    std::vector<int> yes;
    std::array<int, 3> scores;
    const char* chain;
};
class OutcomeTest : public ::testing::TestWithParam<Outcome> {};

} // namespace

TEST_P(OutcomeTest, ScoresAndTheResultChain) {
    const Outcome& o = GetParam();
    Sheet sheet(o.yes);
    DiagnosisState state;
    state.typeE = 1; // nothing of an earlier diagnosis survives
    Diagnose(sheet, state);
    EXPECT_EQ((std::array<int, 3>{state.roughness, state.irritation, state.hesitation}), o.scores);
    EXPECT_EQ(Chain(state), o.chain);
    const Int16 flags[] = {state.typeA, state.typeB, state.typeC, state.typeD, state.typeE};
    for (int type = 0; type < 5; ++type)
        EXPECT_EQ(flags[type], std::string(o.chain).find(char('A' + type)) != std::string::npos);
}

// The twelve outcomes that can occur, and items counting twice or not at all.
INSTANTIATE_TEST_SUITE_P(
    Reachable, OutcomeTest,
    ::testing::Values(Outcome{"E", {2, 6, 11}, {1, 1, 1}, "E"},
                      Outcome{"A", {2, 3, 4, 11}, {3, 0, 1}, "A"},
                      Outcome{"B", {6, 7, 8, 9, 23, 11, 12}, {0, 5, 2}, "B"},
                      Outcome{"AB", {2, 3, 4, 6, 7, 8, 9, 23, 11}, {3, 5, 1}, "AB"},
                      Outcome{"AC", {2, 3, 4, 11, 12, 13}, {3, 0, 3}, "AC"},
                      Outcome{"BC", {6, 7, 8, 9, 23, 28, 29, 30}, {0, 5, 3}, "BC"},
                      Outcome{"ABC", {2, 3, 4, 6, 7, 8, 9, 23, 11, 12, 13}, {3, 5, 3}, "ABC"},
                      Outcome{"AD", Range(2, 9), {4, 4, 0}, "AD"},
                      Outcome{"BD", {6, 7, 8, 9, 23}, {0, 5, 0}, "BD"},
                      Outcome{"ABD", {2, 3, 4, 6, 7, 8, 9, 23}, {3, 5, 0}, "ABD"},
                      Outcome{"D", {}, {0, 0, 0}, "D"},
                      Outcome{"AllYes", Range(1, 32), {10, 8, 9}, "ABC"},
                      Outcome{"Item22OnTwoScales", {22, 11}, {1, 1, 1}, "E"},
                      Outcome{"UnscoredItems", {1, 10, 16, 26, 27, 32, 11}, {0, 0, 1}, "E"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct Band {
    const char* name;
    std::vector<int> items; // the scale's own, item 22 left out
    int alsoYes;            // 11 keeps hesitation at 1: neither C nor D
    std::function<std::string(std::size_t)> chain;
};
class BandTest : public ::testing::TestWithParam<Band> {};

} // namespace

TEST_P(BandTest, EveryCountOfYesAnswers) {
    const Band& band = GetParam();
    for (std::size_t n = 0; n <= band.items.size(); ++n) {
        std::vector<int> yes(band.items.begin(), band.items.begin() + long(n));
        yes.push_back(band.alsoYes);
        Sheet sheet(yes);
        DiagnosisState state;
        Diagnose(sheet, state);
        EXPECT_EQ(Chain(state), band.chain(n)) << n << " yes answers";
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, BandTest,
                         ::testing::Values(Band{"RoughnessAFromThree",
                                                {2, 3, 4, 5, 17, 18, 19, 20, 21},
                                                11,
                                                [](std::size_t n) { return n >= 3 ? "A" : "E"; }},
                                           Band{"IrritationBFromFive",
                                                {6, 7, 8, 9, 23, 24, 25},
                                                11,
                                                [](std::size_t n) { return n >= 5 ? "B" : "E"; }},
                                           Band{"HesitationDAtNoneCFromThree",
                                                {11, 12, 13, 14, 15, 28, 29, 30, 31},
                                                1,
                                                [](std::size_t n) {
                                                    return n == 0 ? "D" : n >= 3 ? "C" : "E";
                                                }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Scales, ReadYesBoxesInOrderAndKeepTheRunningSumOnOverflow) {
    Sheet sheet;
    ScaleScore(sheet, Scale::Hesitation);
    EXPECT_EQ(
        sheet.reads,
        (std::vector<std::pair<int, int>>{
            {1, 21}, {1, 23}, {1, 25}, {1, 27}, {1, 29}, {2, 23}, {2, 25}, {2, 27}, {2, 29}}));
    sheet.boxes[0].fill(32767);
    DiagnosisState state;
    EXPECT_EQ(ErrorOf([&] { Diagnose(sheet, state); }), 6);
    EXPECT_EQ(state.roughness, 32767) << "the field is the running sum";
    EXPECT_EQ(ErrorOf([&] { CheckPage(sheet, 1); }), 6);
}

TEST(NextFlagged, CountsOnlyFlagsEqualToOneAfterTheGivenType) {
    DiagnosisState state;
    state.typeA = 2;
    state.typeB = state.typeD = 1;
    EXPECT_EQ(Chain(state), "BD");
    EXPECT_EQ(NextFlaggedType(state, ResultType::D), std::nullopt);
}

TEST(ReadOut, RescoresIncompleteAnswersAndLeavesTheFlags) {
    Sheet all(Range(1, 32)), none;
    none.boxes = {};
    none.boxes[1][10] = 1; // a yes to item 22 alone
    DiagnosisState state;
    Diagnose(all, state);
    ReadOutScores(none, state);
    EXPECT_EQ((std::array<int, 3>{state.roughness, state.irritation, state.hesitation}),
              (std::array<int, 3>{1, 1, 0}));
    EXPECT_EQ(Chain(state), "ABC");
}
