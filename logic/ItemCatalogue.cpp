#include "ItemCatalogue.h"

#include <array>

namespace tolvane::logic {
namespace {

constexpr char16_t kIdeographicSpace = u'\u3000';
constexpr char16_t kFullwidthZero = u'\uFF10';
constexpr char16_t kFullwidthFullStop = u'\uFF0E';
constexpr char16_t kLeaderDot = u'\u30FB';

// Leader dots after each statement, items 1 to 32. They were set by eye for
// the label widths and follow no rule.
constexpr std::array<int, kItemCount> kLeaderDots{
    28, 21, 19, 25, 24, 17, 19, 25, 21, 29, 19, 22, 22, 21, 27, 22,
    28, 27, 26, 19, 17, 23, 29, 24, 27, 22, 25, 17, 19, 18, 26, 32,
};

} // namespace

int LeaderDots(int item) { return kLeaderDots.at(static_cast<std::size_t>(item - 1)); }

std::u16string ItemCaption(int item) {
    std::u16string caption;
    caption += item < 10 ? kIdeographicSpace : static_cast<char16_t>(kFullwidthZero + item / 10);
    caption += static_cast<char16_t>(kFullwidthZero + item % 10);
    caption += kFullwidthFullStop;
    caption += ItemStatement(item);
    caption.append(static_cast<std::size_t>(LeaderDots(item)), kLeaderDot);
    return caption;
}

} // namespace tolvane::logic
