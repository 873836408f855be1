#pragma once

#include "Int16.h"

namespace tolvane::logic {

// The user's answers as the diagnosis sees them: the 64 check boxes of the two
// question pages, read at the moment they are needed. The logic keeps no copy.
class AnswerSheet {
public:
    virtual ~AnswerSheet() = default;

    // Value of box 1..32 on page 1 or 2: 0 unticked, 1 ticked, 2 grayed.
    // May raise a RuntimeError when the read fails.
    virtual Int16 BoxValue(int page, int box) = 0;
};

} // namespace tolvane::logic
