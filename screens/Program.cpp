#include <algorithm>
#include <array>
#include <set>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ResultScreens.h"
#include "Screens.h"
#include "Session.h"

namespace tolvane::screens {
namespace {

// Reads the boxes where the user ticked them. Reading a page that was never
// shown loads it, hidden, with every box unticked.
class PageAnswers final : public logic::AnswerSheet {
public:
    logic::Int16 BoxValue(int page, int box) override {
        platform::Form& form =
            page == 1 ? static_cast<platform::Form&>(The<Form1>()) : The<Form2>();
        return form.Check(box).Value();
    }
};

// The screens by the names a kept run gives them.
struct Named {
    std::string_view name;
    const platform::FormSpec& (*layout)();
    platform::Form& (*screen)();
};
template <class Screen>
constexpr Named Name(std::string_view name) {
    return {name, &Screen::Layout, []() -> platform::Form& { return The<Screen>(); }};
}
constexpr std::array kScreens{Name<Form1>("Form1"), Name<Form2>("Form2"), Name<Form3>("Form3"),
                              Name<Form4>("Form4"), Name<Form5>("Form5"), Name<Form6>("Form6"),
                              Name<Form7>("Form7"), Name<Form8>("Form8"), Name<Form9>("Form9")};

const Named* Find(std::string_view name) {
    const auto found = std::find_if(kScreens.begin(), kScreens.end(),
                                    [name](const Named& s) { return s.name == name; });
    return found == kScreens.end() ? nullptr : &*found;
}

const platform::ControlSpec* Find(const Named& screen, std::string_view control) {
    for (const platform::ControlSpec& c : screen.layout().controls)
        if (c.name == control) return &c;
    return nullptr;
}

// A kept run this program could have left, checked whole before anything of
// it is used: known screens, each once, their controls of the right kinds, the
// screens in front among those visible, the focus on one that takes it.
bool Whole(const platform::KeptRun& run) {
    using enum platform::ControlKind;
    std::set<std::string_view> loaded, visible;
    for (const platform::KeptScreen& kept : run.screens) {
        const Named* screen = Find(kept.name);
        if (!screen || !loaded.insert(screen->name).second) return false;
        if (kept.visible) visible.insert(screen->name);
        for (const auto& [name, value] : kept.values) {
            const platform::ControlSpec* c = Find(*screen, name);
            if (!c || c->kind != CheckBox || value < 0 || value > 2) return false;
        }
        for (const auto& [name, text] : kept.texts) {
            const platform::ControlSpec* c = Find(*screen, name);
            if (!c || c->kind != TextBox) return false;
        }
    }
    if (run.front.size() != visible.size() ||
        !std::all_of(run.front.begin(), run.front.end(),
                     [&](const std::string& name) { return visible.contains(name); }))
        return false;
    if (!run.focus.empty()) {
        const std::size_t dot = run.focus.find('.');
        const Named* screen = Find(run.focus.substr(0, dot));
        const platform::ControlSpec* c =
            screen && dot != std::string::npos ? Find(*screen, run.focus.substr(dot + 1)) : nullptr;
        if (!c || !visible.contains(screen->name) || !platform::TakesFocus(*c)) return false;
    }
    return run.data.size() == 8;
}

// The run as it was kept, through the program's own operations: each screen
// loads as it did, its Form_Load running, and then takes back its ticks and
// typed texts; the visible ones show again back to front, and the focus goes
// where it was.
void Resume(const platform::KeptRun& run) {
    for (const platform::KeptScreen& kept : run.screens) {
        platform::Form& screen = Find(kept.name)->screen();
        screen.Hide();
        for (const auto& [name, value] : kept.values)
            screen.Control(name).SetValue(static_cast<logic::Int16>(value));
        for (const auto& [name, text] : kept.texts)
            screen.Control(name).SetText(text);
    }
    const auto& d = run.data;
    const auto n = [](int v) { return static_cast<logic::Int16>(v); };
    Module1() = {n(d[0]), n(d[1]), n(d[2]), n(d[3]), n(d[4]), n(d[5]), n(d[6]), n(d[7])};
    for (const std::string& name : run.front)
        Find(name)->screen().Show();
    if (const std::size_t dot = run.focus.find('.'); dot != std::string::npos)
        Find(run.focus.substr(0, dot))->screen().Control(run.focus.substr(dot + 1)).SetFocus();
}

} // namespace

logic::AnswerSheet& Answers() { return The<PageAnswers>(); }

void KeepDiagnosis() {
    const logic::DiagnosisState& s = Module1();
    platform::KeepData(
        {s.typeA, s.typeB, s.typeC, s.typeD, s.typeE, s.roughness, s.irritation, s.hesitation});
}

void StartUp() {
    if (const auto kept = platform::KeptRunOf(); kept && Whole(*kept)) return Resume(*kept);
    KeepDiagnosis();
    The<Form1>().Show();
}

} // namespace tolvane::screens
