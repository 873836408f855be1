#pragma once

#include "Window.h"

namespace tolvane {
class RuntimeError;
}

namespace tolvane::platform {

// The report that ends the program after a runtime error: titled "tolvane",
// it gives the number, what it means, where it happened, and that the
// program ends.
ErrorReport MakeErrorReport(const RuntimeError& error);

} // namespace tolvane::platform
