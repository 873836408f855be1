#pragma once

#include <QFont>

#include "Layout.h"

namespace tolvane::platform {

// Maps the Japanese Gothic faces the layouts ask for onto the IPA fonts, so
// that the layouts keep their own family names. Call once, before any window.
void InstallFontSubstitutions();

// Every screen's default: the standard 9-point Japanese UI font.
QFont DefaultFont();

QFont MakeFont(const FontSpec& face);

} // namespace tolvane::platform
