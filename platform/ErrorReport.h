#pragma once

#include <string>

namespace tolvane {
class RuntimeError;
}

namespace tolvane::platform {

struct ErrorReport {
    int number;
    std::u16string title;
    std::u16string text;
};

// The report that ends the program after a runtime error: titled "tolvane",
// it gives the number, what it means, where it happened, and that the
// program ends.
ErrorReport MakeErrorReport(const RuntimeError& error);

// What is left to say once the program has ended, where the platform outlives
// it (a web page): that the diagnosis ended, or that an error ended it, with
// its number.
std::u16string EndNotice(int status, int errorNumber);

} // namespace tolvane::platform
