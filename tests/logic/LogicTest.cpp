// The diagnosis core on answer sheets in memory, where the order of reads
// shows: the item catalogue against the questionnaire's figures, the page
// check, the result order. Outcomes are the whole program's, beside the model.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

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

std::string Chain(const DiagnosisState& state) {
    std::string chain;
    for (auto type = NextFlaggedType(state, std::nullopt); type;
         type = NextFlaggedType(state, type))
        chain += char('A' + int(*type));
    return chain;
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

TEST(NextFlagged, CountsOnlyFlagsEqualToOneAfterTheGivenType) {
    DiagnosisState state;
    state.typeA = 2;
    state.typeB = state.typeD = 1;
    EXPECT_EQ(Chain(state), "BD");
    EXPECT_EQ(NextFlaggedType(state, ResultType::D), std::nullopt);
}
