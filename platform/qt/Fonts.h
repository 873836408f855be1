#pragma once

#include <QFont>

#include "Layout.h"

namespace tolvane::platform {

// Maps the Japanese Gothic faces the layouts ask for onto the IPA fonts, so
// that the layouts keep their own family names. Call once, before any window.
void InstallFontSubstitutions();

// Every screen's default font (kDefaultFont).
QFont DefaultFont();

QFont MakeFont(const FontSpec& face);

// The font with glyphs it lacks taken from whatever font has them. Looking
// for those fonts costs time, so only what the user can type into has it.
QFont WithFallback(QFont font);

} // namespace tolvane::platform
