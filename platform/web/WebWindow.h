#pragma once

#include <emscripten/val.h>

namespace tolvane::platform {

// A key pressed anywhere in the page, for the screen that has the focus, or
// the one in front where none has it.
void HandleKey(emscripten::val event);

} // namespace tolvane::platform
