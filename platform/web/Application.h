#pragma once

#include <string>

namespace tolvane::platform {

// What the page says once the program has ended: that the diagnosis ended, or
// that an error ended it, with the error's number.
std::u16string EndNotice(int status, int errorNumber);

} // namespace tolvane::platform
