#pragma once

#include "AnswerSheet.h"

namespace tolvane::logic {

enum class PageCheckResult { Pass, Fail };

// A page passes when each of its 16 items has exactly one box ticked. Reads
// yes before no, item by item, and stops at the first item that fails.
PageCheckResult CheckPage(AnswerSheet& sheet, int page);

} // namespace tolvane::logic
