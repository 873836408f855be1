#pragma once

#include <algorithm>

// Where a screen's window opens the first time. The arithmetic knows no
// toolkit; each binding supplies the monitor it chose.
namespace tolvane::platform {

struct Area {
    int left, top, width, height;
};

struct Position {
    int x, y;
    bool operator==(const Position&) const = default;
};

// The frame (`width` by `height`, in the monitor's pixels) centred in the work
// area. A frame larger than the work area keeps its top-left corner inside it,
// so that the caption bar can still be reached to move the window.
inline Position OpeningPosition(int width, int height, const Area& work) {
    return {std::max(work.left, work.left + (work.width - width) / 2),
            std::max(work.top, work.top + (work.height - height) / 2)};
}

} // namespace tolvane::platform
