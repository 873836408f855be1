#pragma once

#include <windows.h>

namespace tolvane::platform {

// Registers the window classes and prepares the common controls and COM for
// this thread; later calls do nothing.
void SetUpWin32();

// Handles one message taken from the thread's queue: the screens' own keyboard
// rules first (Tab order, Enter on a button, Alt+F4), then the usual
// translation and dispatch. The event loop and the tests both pump through it.
void ProcessMessage(MSG& msg);

} // namespace tolvane::platform
