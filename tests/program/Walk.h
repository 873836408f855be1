#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "Runtime.h"

namespace tolvane::platform {
class Form;
}

// A model of the whole program, written from its navigation graph, load rules
// and scoring rules without its code; and runs of the real program beside it,
// through a binding's driver.
namespace tolvane::check {

inline Screen ScreenAt(int index) { return static_cast<Screen>(index); }
inline std::string Name(Screen screen) { return "Form" + std::to_string(int(screen) + 1); }

enum class Act { Toggle, Click, Type, Close };

struct Action {
    Act act;
    Screen screen;
    int control = 0; // box, button or text box number
    Input input = Input::Mouse;
    std::u16string text{};
    double at = 0.5; // where along a box a click lands
};

struct Model {
    Model(); // after start-up: Form1 loaded and shown
    void Apply(const Action& action);
    std::vector<Action> Choices() const; // all a user could do now
    bool Passes(int page) const;
    void Load(Screen screen);
    void Show(Screen screen) { Load(screen), visible[int(screen)] = true; }
    void Hide(Screen screen) { Load(screen), visible[int(screen)] = false; }
    void Score();
    void Click(Screen screen, int command);

    std::array<bool, 9> loaded{}, visible{};
    std::array<int, 9> loads{};
    std::array<std::array<int, 32>, 2> boxes{};
    std::array<int, 5> flags{};                           // A to E
    std::array<int, 3> scores{};                          // roughness, irritation, hesitation
    std::array<std::array<std::u16string, 5>, 9> typed{}; // since the box loaded
    int diagnoses = 0, exitStatus = 0;
    bool ended = false;
    std::optional<Screen> justLoaded; // a result screen: "次へ" has the focus
};

Driver& TheDriver(); // the binding's, defined beside it
platform::Form& FormOf(Screen screen);
// A control's index in its screen's table; the table's size when none.
std::size_t IndexOf(const platform::Form& form, const std::string& name);

// The `countdown`-th operation of `kind` (of any kind when none) fails with `number`.
struct FaultPlan {
    std::optional<platform::Operation> kind;
    int countdown, number;
};

// One run of the real program, started afresh, beside the model.
class Program {
public:
    explicit Program(std::optional<FaultPlan> plan = std::nullopt);
    // Does `action` to both, unless a fault strikes; returns how they differ.
    std::vector<std::string> Do(const Action& action);
    // How it differs from an end by error `number`: one report giving it, a
    // failure status, no window left, nothing run after it.
    std::vector<std::string> CheckFailedEnd(int number);

    platform::Runtime& runtime() { return *runtime_; }
    Model model;
    std::optional<platform::Operation> struck;

private:
    std::vector<std::string> Compare();

    std::unique_ptr<platform::Runtime> runtime_;
    std::optional<FaultPlan> plan_;
    std::array<int, 9> loads_{};
    int afterFault_ = 0;
    // What each paragraph held when first seen since its load.
    std::array<std::array<std::optional<std::u16string>, 5>, 9> laid_{};
};

struct WalkStats {
    long programs = 0, diagnoses = 0, faults = 0;
    std::string failure; // the first divergence, with the steps before it
};

// A seeded random walk; with `faults`, every program in it fails at random.
WalkStats RunWalk(unsigned long long seed, long steps, bool faults);

} // namespace tolvane::check
