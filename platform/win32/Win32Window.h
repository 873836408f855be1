#pragma once

#include <cstddef>
#include <windows.h>

#include "Application.h"

namespace tolvane::platform {

class Form;

// The window of a loaded screen, null before: for tests and screenshots.
HWND HwndOf(const Form& form);
// Control `control` (its index in the layout's table) of a loaded screen.
HWND ControlHwnd(const Form& form, std::size_t control);
// The control that has the keyboard focus in the screen's window, or that had
// it when the window last lost the activation; null when none.
HWND FocusIn(const Form& form);
// The visible screen the user is in, or was in last; null when none.
HWND ActiveScreen();

} // namespace tolvane::platform
