#pragma once

#include <string>
#include <string_view>
#include <windows.h>

#include "Layout.h"

// The controls of the forms runtime as Win32 controls: statics, buttons, edit
// controls and a line class of the binding's own.
namespace tolvane::platform {

// On Windows wchar_t is UTF-16, like the layouts' strings.
std::wstring Wide(std::u16string_view text);
// Text boxes break lines with CR LF; the screens write a bare LF.
std::wstring ForEdit(std::u16string_view text);

// Registers the lines' class, like `base` but for its procedure and name.
void RegisterLineClass(WNDCLASSEXW base);

// Control `design` as child `id` of `parent`, with its text, visibility,
// state and description; throws where it cannot be made.
HWND CreateControl(const ControlSpec& design, HWND parent, int id);

} // namespace tolvane::platform
