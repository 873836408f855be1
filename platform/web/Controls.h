#pragma once

#include <emscripten/val.h>
#include <string>
#include <string_view>

#include "FormRules.h"
#include "Layout.h"

// The controls of the forms runtime as the page's own elements: a div for a
// label, a native check box inside its label element, a button, a text area,
// and an SVG line. Each is positioned in its screen's client area.
namespace tolvane::platform {

// The page, the binding's side in it (page.js), and a new element of the page
// in a class of the style sheet's.
emscripten::val Document();
emscripten::val Page();
emscripten::val Element(const char* tag, const char* className);

// Sets a custom property of an element's style, for the style sheet to use;
// and a length in pixels as CSS writes it.
void SetStyleProperty(emscripten::val element, const char* name, const emscripten::val& value);
std::string Px(int pixels);

// The control's outer element, placed and styled, named `id` in the page.
emscripten::val CreateControl(const ControlSpec& design, const std::string& id);

// The element that takes the focus and the input: the box within a check box.
emscripten::val InputOf(emscripten::val control, ControlKind kind);

void SetCaption(emscripten::val control, ControlKind kind, std::u16string_view caption);

CheckState StateOf(emscripten::val box);
void SetState(emscripten::val box, CheckState state);

} // namespace tolvane::platform
