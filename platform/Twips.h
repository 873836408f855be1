#pragma once

#include <QRect>
#include <cmath>

namespace tolvane::platform {

// Layouts are in twips, 1/1440 inch: 15 to a device-independent pixel at the
// 96 dpi they were drawn at. Qt's own scaling takes it on from there.
inline constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

// Converts the edges, not the size, so that boxes that meet in twips still
// meet in pixels.
inline QRect TwipsToPixels(int left, int top, int width, int height) {
    const int x = TwipsToPixels(left);
    const int y = TwipsToPixels(top);
    return {x, y, TwipsToPixels(left + width) - x, TwipsToPixels(top + height) - y};
}

} // namespace tolvane::platform
