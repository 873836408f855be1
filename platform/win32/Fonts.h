#pragma once

#include <windows.h>

#include "Layout.h"

namespace tolvane::platform {

// The font of a face, size and weight at a monitor's dpi, kept for the whole
// run; the layouts' own family names, which the system or a font substitute
// maps to a face.
HFONT FontFor(const FontSpec& face, int dpi);

} // namespace tolvane::platform
