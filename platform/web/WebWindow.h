#pragma once

#include <emscripten/val.h>

namespace tolvane::platform {

// A key pressed anywhere in the page, for the screen it was pressed in, or
// the one in front where it was pressed outside every screen.
void HandleKey(emscripten::val event);

} // namespace tolvane::platform
