#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// What a run keeps where the platform may end the process under the user and
// load the program again: a browser tab that the phone throws away, or that
// is reloaded. There the page keeps the screens as they stand, in the tab
// alone and for as long as it lives, until the program ends. A desktop keeps
// nothing: its process is never ended under the user.
namespace tolvane::platform {

// A screen as the run left it.
struct KeptScreen {
    std::string name;
    bool visible = false;
    std::vector<std::pair<std::string, int>> values;           // check boxes ticked or grayed
    std::vector<std::pair<std::string, std::u16string>> texts; // text boxes a user can type in
};

struct KeptRun {
    std::vector<KeptScreen> screens; // in the order they were loaded
    std::vector<std::string> front;  // the visible screens, back to front
    std::string focus;               // "Form2.Check5", or nothing
    std::vector<int> data;           // the program's own (KeepData)
};

// What this tab's last run of this build kept, read back whole; nothing where
// there is none. Read once, at the start.
std::optional<KeptRun> KeptRunOf();

// The program's own state beside its screens, kept with them from now on.
void KeepData(std::vector<int> data);

} // namespace tolvane::platform
