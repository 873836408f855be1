#include <gtest/gtest.h>

#include <array>
#include <set>

#include "ItemCatalogue.h"

using namespace tolvane::logic;

namespace {

// Statement length (closing "．" included) and caption length, items 1 to 32.
constexpr std::array<int, kItemCount> kStatementLength{12, 23, 22, 19, 18, 25, 25, 18, 21, 15, 25,
                                                       22, 25, 26, 20, 25, 15, 17, 18, 25, 25, 19,
                                                       15, 19, 15, 22, 19, 27, 28, 29, 21, 15};
constexpr std::array<int, kItemCount> kCaptionLength{43, 47, 44, 47, 45, 45, 47, 46, 45, 47, 47,
                                                     47, 50, 50, 50, 50, 46, 47, 47, 47, 45, 45,
                                                     47, 46, 45, 47, 47, 47, 50, 50, 50, 50};

std::u16string Dots(int n) { return std::u16string(static_cast<std::size_t>(n), u'・'); }

} // namespace

TEST(Placement, EveryItemHasOnePlaceAndTwoBoxes) {
    std::set<std::pair<int, int>> places;
    for (int item = 1; item <= kItemCount; ++item) {
        const int page = PageOfItem(item);
        const int k = PositionOfItem(item);
        EXPECT_EQ(page, item <= 16 ? 1 : 2) << item;
        EXPECT_GE(k, 1);
        EXPECT_LE(k, 16);
        EXPECT_EQ(ItemAt(page, k), item);
        EXPECT_TRUE(places.insert({page, k}).second) << "item " << item << " shares its place";
        EXPECT_EQ(YesBox(k) % 2, 1) << "the yes box is the odd one";
        EXPECT_EQ(NoBox(k), YesBox(k) + 1);
    }
}

TEST(Placement, FirstAndLastOfEachPage) {
    EXPECT_EQ(ItemLabel(PositionOfItem(1)), 2);
    EXPECT_EQ(YesBox(PositionOfItem(16)), 31);
    EXPECT_EQ(NoBox(PositionOfItem(16)), 32);
    EXPECT_EQ(ItemLabel(PositionOfItem(16)), 17);
    EXPECT_EQ(PositionOfItem(17), 1);
    EXPECT_EQ(ItemLabel(PositionOfItem(32)), 17);
}

TEST(Captions, LengthsOfStatementsDotsAndCaptions) {
    for (int item = 1; item <= kItemCount; ++item) {
        const auto i = static_cast<std::size_t>(item - 1);
        EXPECT_EQ(ItemStatement(item).size(), static_cast<std::size_t>(kStatementLength[i]))
            << item;
        EXPECT_EQ(ItemCaption(item).size(), static_cast<std::size_t>(kCaptionLength[i])) << item;
        EXPECT_GE(LeaderDots(item), 17);
        EXPECT_LE(LeaderDots(item), 32);
    }
}

TEST(Captions, AreNumberFieldFullStopStatementAndDots) {
    for (int item = 1; item <= kItemCount; ++item) {
        const std::u16string caption = ItemCaption(item);
        const std::u16string_view statement = ItemStatement(item);
        const char16_t tens = item < 10 ? u'\u3000' : static_cast<char16_t>(u'０' + item / 10);
        EXPECT_EQ(caption[0], tens) << item;
        EXPECT_EQ(caption[1], static_cast<char16_t>(u'０' + item % 10)) << item;
        EXPECT_EQ(caption[2], u'．') << item;
        EXPECT_EQ(caption.substr(3, statement.size()), statement) << item;
        EXPECT_EQ(caption.substr(3 + statement.size()), Dots(LeaderDots(item))) << item;
    }
}

TEST(Captions, FirstAndTenthItemsReadAsWritten) {
    EXPECT_EQ(ItemCaption(1), u"　１．車の運転はうまいほうだ．" + Dots(28));
    EXPECT_EQ(ItemCaption(10), u"１０．いつもシートベルトをしている．" + Dots(29));
}

TEST(Captions, StatementsUseFullWidthPunctuationOnly) {
    for (int item = 1; item <= kItemCount; ++item) {
        const std::u16string_view statement = ItemStatement(item);
        EXPECT_EQ(statement.back(), u'．') << item;
        for (const char16_t c : statement) {
            EXPECT_GE(c, 0x80) << "item " << item << " has a half-width character";
            EXPECT_NE(c, u'、') << item;
            EXPECT_NE(c, u'。') << item;
            EXPECT_NE(c, u'\u3000') << item;
            EXPECT_FALSE(c >= 0xD800 && c <= 0xDFFF) << "item " << item << " needs two code units";
        }
    }
}
