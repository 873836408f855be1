#include "Fonts.h"

#include <string>

#include "Controls.h"
#include "FormRules.h"

namespace tolvane::platform {

void ApplyFont(emscripten::val element, const FontSpec& face) {
    emscripten::val style = element["style"];
    style.set("fontFamily", u"\"" + std::u16string(face.family) + u"\", sans-serif");
    style.set("fontWeight", face.weight);
    // The style sheet sizes the face: in the layouts' points on a desktop, and
    // in step with the user's own text size in the phone's column. As numbers,
    // which the page writes out: formatting them here would link in C's printf.
    SetStyleProperty(element, "--pt", emscripten::val(face.points));
    SetStyleProperty(element, "--scale", emscripten::val(face.points / kDefaultFont.points));
}

} // namespace tolvane::platform
