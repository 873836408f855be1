#pragma once

namespace tolvane::platform {

// What every run of the program sets on the application object before its
// first window: its name and version, the font mapping, and that hiding the
// last window does not quit (screens are hidden, never closed).
void SetUpApplication();

} // namespace tolvane::platform
