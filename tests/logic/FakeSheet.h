#pragma once

#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "AnswerSheet.h"
#include "ItemCatalogue.h"

namespace tolvane::test {

// An answer sheet in memory that records the order of its reads.
class FakeSheet final : public logic::AnswerSheet {
public:
    logic::Int16 BoxValue(int page, int box) override {
        reads.emplace_back(page, box);
        return boxes.at(static_cast<std::size_t>(page - 1)).at(static_cast<std::size_t>(box - 1));
    }

    void Set(int page, int box, logic::Int16 value) {
        boxes.at(static_cast<std::size_t>(page - 1)).at(static_cast<std::size_t>(box - 1)) = value;
    }

    // Answers every item: yes for the items listed, no for the rest.
    static FakeSheet YesTo(std::initializer_list<int> items) {
        FakeSheet sheet;
        for (int item = 1; item <= logic::kItemCount; ++item)
            sheet.Answer(item, false);
        for (const int item : items)
            sheet.Answer(item, true);
        return sheet;
    }

    void Answer(int item, bool yes) {
        const int page = logic::PageOfItem(item);
        const int k = logic::PositionOfItem(item);
        Set(page, logic::YesBox(k), yes ? 1 : 0);
        Set(page, logic::NoBox(k), yes ? 0 : 1);
    }

    std::array<std::array<logic::Int16, logic::kBoxesPerPage>, 2> boxes{};
    std::vector<std::pair<int, int>> reads;
};

inline std::initializer_list<int> AllItems() {
    static const std::initializer_list<int> all{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                                12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                                                23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
    return all;
}

} // namespace tolvane::test
