// The page check on sheets in memory, where the order of reads shows.
#include <gtest/gtest.h>

#include <array>

#include "PageCheck.h"

using namespace tolvane::logic;

namespace {

// Every item answered no; records the order of its reads.
struct Sheet final : AnswerSheet {
    Sheet() {
        for (auto& page : boxes)
            for (std::size_t box = 1; box < 32; box += 2)
                page[box] = 1;
    }
    Int16 BoxValue(int page, int box) override {
        reads.emplace_back(page, box);
        return boxes.at(page - 1).at(box - 1);
    }
    std::array<std::array<Int16, 32>, 2> boxes{};
    std::vector<std::pair<int, int>> reads;
};

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
