#include "Session.h"

#include <emscripten/val.h>

#include "Controls.h"

// The page keeps the run in the tab's own session storage (page.js: kept,
// keep), which checks what it reads back before it is handed on here.
namespace tolvane::platform {
namespace {

using emscripten::val;

template <class Value>
std::vector<std::pair<std::string, Value>> Pairs(const val& list) {
    std::vector<std::pair<std::string, Value>> pairs;
    for (const val& pair : emscripten::vecFromJSArray<val>(list))
        pairs.emplace_back(pair[0].as<std::string>(), pair[1].as<Value>());
    return pairs;
}

} // namespace

std::optional<KeptRun> KeptRunOf() {
    const val state = Page().call<val>("kept");
    if (state.isNull()) return std::nullopt;
    KeptRun run;
    for (const val& screen : emscripten::vecFromJSArray<val>(state["screens"]))
        run.screens.push_back({screen["name"].as<std::string>(), screen["visible"].as<bool>(),
                               Pairs<int>(screen["values"]),
                               Pairs<std::u16string>(screen["texts"])});
    run.front = emscripten::vecFromJSArray<std::string>(state["front"]);
    run.focus = state["focus"].as<std::string>();
    run.data = emscripten::vecFromJSArray<int>(state["data"]);
    return run;
}

void KeepData(std::vector<int> data) {
    Page().call<void>("keepData", val::array(data.begin(), data.end()));
}

} // namespace tolvane::platform
