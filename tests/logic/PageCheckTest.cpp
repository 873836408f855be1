#include <gtest/gtest.h>

#include "FakeSheet.h"
#include "PageCheck.h"

using namespace tolvane::logic;
using tolvane::RuntimeError;
using tolvane::test::AllItems;
using tolvane::test::FakeSheet;

namespace {

std::vector<std::pair<int, int>> ReadsUpTo(int page, int lastBox) {
    std::vector<std::pair<int, int>> reads;
    for (int box = 1; box <= lastBox; ++box)
        reads.emplace_back(page, box);
    return reads;
}

class PageCheckTest : public ::testing::TestWithParam<int> {
protected:
    int page() const { return GetParam(); }
    int ItemAtPosition(int k) const { return ItemAt(page(), k); }
};

} // namespace

TEST_P(PageCheckTest, PassesWhenEveryItemHasOneTick) {
    for (FakeSheet sheet : {FakeSheet::YesTo({}), FakeSheet::YesTo(AllItems()),
                            FakeSheet::YesTo({1, 4, 9, 16, 17, 20, 25, 32})}) {
        EXPECT_EQ(CheckPage(sheet, page()), PageCheckResult::Pass);
        EXPECT_EQ(sheet.reads, ReadsUpTo(page(), 32)) << "yes before no, item by item";
    }
}

TEST_P(PageCheckTest, UntouchedPageFailsAfterItsFirstTwoBoxes) {
    FakeSheet sheet;
    EXPECT_EQ(CheckPage(sheet, page()), PageCheckResult::Fail);
    EXPECT_EQ(sheet.reads, ReadsUpTo(page(), 2));
}

TEST_P(PageCheckTest, StopsAtTheFirstFailingItem) {
    FakeSheet sheet = FakeSheet::YesTo({});
    sheet.Set(page(), 1, 0); // position 1 unanswered
    sheet.Set(page(), 2, 0);
    sheet.Set(page(), 31, 1); // position 16 doubled
    EXPECT_EQ(CheckPage(sheet, page()), PageCheckResult::Fail);
    EXPECT_EQ(sheet.reads, ReadsUpTo(page(), 2));
}

// Whatever is wrong with the last item, all 32 boxes are read before the page fails.
TEST_P(PageCheckTest, OnlyTheLastItemWrong) {
    const std::pair<Int16, Int16> faults[] = {{0, 0}, {1, 1}, {2, 0}, {0, 2},
                                              {2, 1}, {1, 2}, {2, 2}};
    for (const auto& [yes, no] : faults) {
        FakeSheet sheet = FakeSheet::YesTo({});
        sheet.Set(page(), 31, yes);
        sheet.Set(page(), 32, no);
        EXPECT_EQ(CheckPage(sheet, page()), PageCheckResult::Fail) << yes << "/" << no;
        EXPECT_EQ(sheet.reads, ReadsUpTo(page(), 32)) << yes << "/" << no;
    }
}

TEST_P(PageCheckTest, ReadsOnlyItsOwnPage) {
    FakeSheet sheet = FakeSheet::YesTo({});
    const int other = 3 - page();
    sheet.Set(other, 1, 1); // the other page doubled at its first item
    EXPECT_EQ(CheckPage(sheet, page()), PageCheckResult::Pass);
    for (const auto& read : sheet.reads)
        EXPECT_EQ(read.first, page());
}

TEST_P(PageCheckTest, OverflowInTheSumRaisesTheOverflowError) {
    FakeSheet sheet = FakeSheet::YesTo({});
    sheet.Set(page(), 1, 32767);
    sheet.Set(page(), 2, 1);
    try {
        CheckPage(sheet, page());
        FAIL() << "no overflow raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 6);
    }
}

INSTANTIATE_TEST_SUITE_P(BothPages, PageCheckTest, ::testing::Values(1, 2),
                         [](const auto& info) { return "Page" + std::to_string(info.param); });
