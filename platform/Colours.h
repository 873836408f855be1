#pragma once

#include <algorithm>
#include <cmath>

#include "Layout.h"

// When the page grey may stand behind text. The rule knows no toolkit: each
// binding asks it with the system's own colours.
namespace tolvane::platform {

struct Rgb {
    int red, green, blue; // 0 to 255 each
};

inline constexpr Rgb kPageGreyRgb{kPageGrey, kPageGrey, kPageGrey};
// Disabled text on the page grey, dimmed as the system dims it on its own
// colours and still to be made out.
inline constexpr Rgb kDisabledTextRgb{109, 109, 109};

// The least contrast at which text of the screens' size stays readable.
inline constexpr double kReadableContrast = 4.5;

// Relative luminance of an sRGB colour: 0 for black, 1 for white.
inline double Luminance(Rgb colour) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

// From 1 (the same luminance) to 21 (black on white), whichever is lighter.
inline double ContrastRatio(Rgb a, Rgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The page grey gives way to the system's own window colours where the user
// has asked for high contrast, or where the system's text colour would not
// read on the grey (light text of a dark scheme). Otherwise the grey stays, so
// the screens look as they were drawn.
inline bool PageGreyGivesWay(bool highContrast, Rgb systemText) {
    return highContrast || ContrastRatio(systemText, kPageGreyRgb) < kReadableContrast;
}

} // namespace tolvane::platform
