#include "ReadingOrder.h"

#include <algorithm>
#include <utility>

namespace tolvane::platform {
namespace {

struct Extent {
    int from, to;
};

Extent Across(const Box& box, bool down) {
    return down ? Extent{box.top, box.top + box.height} : Extent{box.left, box.left + box.width};
}

// The groups that a gap along the axis separates, in order along it.
std::vector<std::vector<std::size_t>> Split(std::vector<std::size_t> items, bool down,
                                            const FormSpec& layout) {
    const auto extent = [&](std::size_t i) { return Across(layout.controls[i].box, down); };
    std::stable_sort(items.begin(), items.end(),
                     [&](std::size_t a, std::size_t b) { return extent(a).from < extent(b).from; });
    std::vector<std::vector<std::size_t>> groups;
    int end = 0;
    for (const std::size_t i : items) {
        if (groups.empty() || extent(i).from >= end) groups.emplace_back();
        groups.back().push_back(i);
        end = groups.back().size() == 1 ? extent(i).to : std::max(end, extent(i).to);
    }
    return groups;
}

void Cut(std::vector<std::size_t> items, const FormSpec& layout, std::vector<std::size_t>& out) {
    for (const bool down : {false, true}) {
        auto groups = Split(items, down, layout);
        if (groups.size() > 1) {
            for (auto& group : groups)
                Cut(std::move(group), layout, out);
            return;
        }
    }
    // Overlapping both ways: top to bottom, then left to right.
    const auto at = [&](std::size_t i) {
        return std::pair(layout.controls[i].box.top, layout.controls[i].box.left);
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](std::size_t a, std::size_t b) { return at(a) < at(b); });
    out.insert(out.end(), items.begin(), items.end());
}

} // namespace

std::vector<std::size_t> ReadingOrder(const FormSpec& layout) {
    std::vector<std::size_t> read, never;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlSpec& c = layout.controls[i];
        (c.kind == ControlKind::Line || (c.style & kHidden) ? never : read).push_back(i);
    }
    std::vector<std::size_t> order;
    if (!read.empty()) Cut(std::move(read), layout, order);
    order.insert(order.end(), never.begin(), never.end());
    return order;
}

} // namespace tolvane::platform
