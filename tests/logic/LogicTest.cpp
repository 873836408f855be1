// The diagnosis core on answer sheets in memory, where the order of reads
// shows: the page check and the result order. Outcomes are the whole
// program's, beside the model.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "Diagnosis.h"
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

std::string Chain(const DiagnosisState& state) {
    std::string chain;
    for (auto type = NextFlaggedType(state, std::nullopt); type;
         type = NextFlaggedType(state, type))
        chain += char('A' + int(*type));
    return chain;
}

} // namespace

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

TEST(NextFlagged, CountsOnlyFlagsEqualToOneAfterTheGivenType) {
    DiagnosisState state;
    state.typeA = 2;
    state.typeB = state.typeD = 1;
    EXPECT_EQ(Chain(state), "BD");
    EXPECT_EQ(NextFlaggedType(state, ResultType::D), std::nullopt);
}
