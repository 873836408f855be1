#pragma once

#include <algorithm>
#include <cmath>

#include "Layout.h"

namespace tolvane::platform {

// Layouts are in twips, 1/1440 inch: 15 to a pixel at the 96 dpi they were
// drawn at. A binding that scales by itself (Qt) converts at 96 dpi; one that
// does not (Win32) converts at the monitor's dpi.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;

inline int TwipsToPixels(int twips, int dpi = kDesignDpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

struct PixelBox {
    int x, y, width, height;
    bool operator==(const PixelBox&) const = default;
};

// Converts the edges, not the size, so that boxes that meet in twips still
// meet in pixels.
inline PixelBox TwipsToPixels(const Box& box, int dpi = kDesignDpi) {
    const int x = TwipsToPixels(box.left, dpi);
    const int y = TwipsToPixels(box.top, dpi);
    return {x, y, TwipsToPixels(box.left + box.width, dpi) - x,
            TwipsToPixels(box.top + box.height, dpi) - y};
}

// A line's design runs from (left, top) to (width, height) of its box.
struct PixelLine {
    int x1, y1, x2, y2;
    // The pixels it covers, both end points included.
    PixelBox Bounds() const {
        const int x = std::min(x1, x2), y = std::min(y1, y2);
        return {x, y, std::max(x1, x2) - x + 1, std::max(y1, y2) - y + 1};
    }
};

inline PixelLine LineEnds(const Box& box, int dpi = kDesignDpi) {
    return {TwipsToPixels(box.left, dpi), TwipsToPixels(box.top, dpi),
            TwipsToPixels(box.width, dpi), TwipsToPixels(box.height, dpi)};
}

} // namespace tolvane::platform
