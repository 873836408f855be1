#include "Session.h"

// The desktop's process lives as long as the user wants it to: nothing is kept.
namespace tolvane::platform {

std::optional<KeptRun> KeptRunOf() { return std::nullopt; }

void KeepData(std::vector<int>) {}

} // namespace tolvane::platform
