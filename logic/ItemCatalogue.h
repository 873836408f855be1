#pragma once

#include <string>
#include <string_view>

// The 32 questionnaire items: where each one sits on the two question pages,
// which controls carry it, and the caption its label shows.
namespace tolvane::logic {

inline constexpr int kItemCount = 32;
inline constexpr int kItemsPerPage = 16;
inline constexpr int kBoxesPerPage = 2 * kItemsPerPage;

// Placement. Items are numbered 1 to 32, pages 1 and 2, positions 1 to 16.
constexpr int PageOfItem(int item) { return item <= kItemsPerPage ? 1 : 2; }
constexpr int PositionOfItem(int item) {
    return item <= kItemsPerPage ? item : item - kItemsPerPage;
}
constexpr int ItemAt(int page, int position) { return kItemsPerPage * (page - 1) + position; }
constexpr int YesBox(int position) { return 2 * position - 1; }
constexpr int NoBox(int position) { return 2 * position; }
constexpr int ItemLabel(int position) { return position + 1; }

// The statement of an item: Japanese, ending in "．", commas as "，".
std::u16string_view ItemStatement(int item);

// How many leader dots follow the statement in the item's caption.
int LeaderDots(int item);

// Number field ("　１" or "１０"), "．", statement, leader dots: 43 to 50 code units.
std::u16string ItemCaption(int item);

} // namespace tolvane::logic
