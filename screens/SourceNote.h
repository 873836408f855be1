#pragma once

#include <string_view>

namespace tolvane::screens {

// The note on both question pages naming the published test this diagnosis
// was adapted from: one line, 63 code units, opening with U+3000.
extern const std::u16string_view kSourceNote;

} // namespace tolvane::screens
