#pragma once

#include <cstdint>

#include "RuntimeError.h"

namespace tolvane::logic {

// Counters, scores and flags are 16-bit signed.
using Int16 = std::int16_t;

// Every addition is checked: leaving the 16-bit range raises the overflow error.
inline Int16 CheckedAdd(Int16 a, Int16 b, const char* where = "16-bit addition") {
    Int16 sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        throw RuntimeError(kOverflow, where);
    }
    return sum;
}

} // namespace tolvane::logic
