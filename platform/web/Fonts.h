#pragma once

#include <emscripten/val.h>

#include "Layout.h"

namespace tolvane::platform {

// The page's CSS names its web fonts with the layouts' own family names, cut
// to the characters of the program's texts; sets `face` on an element.
// Where the user types, the browser's own fonts give what those lack.
void ApplyFont(emscripten::val element, const FontSpec& face);

} // namespace tolvane::platform
