#include "Fonts.h"

#include <string>

namespace tolvane::platform {

void ApplyFont(emscripten::val style, const FontSpec& face) {
    // CSS points are 1/72 inch at 96 pixels to the inch, the layouts' own scale.
    style.set("fontFamily", u"\"" + std::u16string(face.family) + u"\", sans-serif");
    style.set("fontSize", std::to_string(face.points) + "pt");
    style.set("fontWeight", face.weight);
}

} // namespace tolvane::platform
