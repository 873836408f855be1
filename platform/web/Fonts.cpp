#include "Fonts.h"

#include <string>

#include "FormRules.h"

namespace tolvane::platform {

void ApplyFont(emscripten::val style, const FontSpec& face) {
    // The style sheet sizes the face: in the layouts' points on a desktop, and
    // in step with the user's own text size in the phone's column.
    style.set("fontFamily", u"\"" + std::u16string(face.family) + u"\", sans-serif");
    // As numbers, which the page writes out: formatting them here would link
    // in C's whole printf.
    style.call<void>("setProperty", emscripten::val("--pt"), face.points);
    style.call<void>("setProperty", emscripten::val("--scale"), face.points / kDefaultFont.points);
    style.set("fontWeight", face.weight);
}

} // namespace tolvane::platform
