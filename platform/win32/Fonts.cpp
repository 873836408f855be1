#include "Fonts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

namespace tolvane::platform {

// One font object per face, size, weight and dpi, shared by every control that
// asks for it and kept for the whole run. The names are the layouts' own; the
// system (or a font substitute) decides which face draws them.
HFONT FontFor(const FontSpec& face, int dpi) {
    static std::map<std::tuple<std::u16string, double, int, int>, HFONT> fonts;
    const auto key = std::make_tuple(std::u16string(face.family), face.points, face.weight, dpi);
    if (const auto found = fonts.find(key); found != fonts.end()) return found->second;
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(face.points * dpi / 72.0));
    font.lfWeight = face.weight;
    font.lfCharSet = SHIFTJIS_CHARSET;
    const std::size_t length = std::min<std::size_t>(face.family.size(), LF_FACESIZE - 1);
    std::copy_n(face.family.begin(), length, font.lfFaceName);
    HFONT handle = CreateFontIndirectW(&font);
    fonts.emplace(key, handle);
    return handle;
}

} // namespace tolvane::platform
