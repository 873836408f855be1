#include "Model.h"

#include <initializer_list>

namespace tolvane::model {
namespace {

// The items each scale sums the yes answers of; item 22 counts twice.
constexpr std::initializer_list<int> kRoughItems{2, 3, 4, 5, 17, 18, 19, 20, 21, 22};
constexpr std::initializer_list<int> kIrritationItems{6, 7, 8, 9, 22, 23, 24, 25};
constexpr std::initializer_list<int> kHesitationItems{11, 12, 13, 14, 15, 28, 29, 30, 31};

constexpr std::array<int, 32> kCaptionLengths{43, 47, 44, 47, 45, 45, 47, 46, 45, 47, 47,
                                              47, 50, 50, 50, 50, 46, 47, 47, 47, 45, 45,
                                              47, 46, 45, 47, 47, 47, 50, 50, 50, 50};

// Paragraph lengths per result screen; a trailing 0 is a fifth box left empty.
constexpr std::array<std::array<int, 5>, 5> kParagraphLengths{{
    {34, 142, 84, 85, -1},
    {43, 78, 58, 60, 108},
    {38, 48, 119, 94, 0},
    {40, 59, 125, 62, 0},
    {38, 41, 76, 76, 0},
}};

Screen ResultScreenOf(int type) { return static_cast<Screen>(Index(Screen::Form5) + type); }
int TypeOf(Screen result) { return Index(result) - Index(Screen::Form5); }

} // namespace

std::string Name(Screen screen) { return "Form" + std::to_string(Index(screen) + 1); }
bool IsPage(Screen screen) { return screen == Screen::Form1 || screen == Screen::Form2; }
bool IsDialog(Screen screen) { return screen == Screen::Form3 || screen == Screen::Form4; }
bool IsResult(Screen screen) { return Index(screen) >= Index(Screen::Form5); }

int ParagraphBoxes(Screen screen) { return screen == Screen::Form5 ? 4 : 5; }

int ParagraphLength(Screen screen, int box) { return kParagraphLengths[TypeOf(screen)][box - 1]; }

int ItemCaptionLength(int item) { return kCaptionLengths[item - 1]; }

std::string Action::Describe() const {
    static constexpr const char* kInputs[] = {"mouse", "space", "enter", "paste"};
    const std::string where = Name(screen);
    switch (kind) {
    case ActionKind::Toggle:
        return where + ".Check" + std::to_string(control) + " by " + kInputs[int(input)];
    case ActionKind::Click:
        return where + ".Command" + std::to_string(control) + " by " + kInputs[int(input)];
    case ActionKind::Type:
        return where + ".Text" + std::to_string(control) + " given " + std::to_string(text.size()) +
               " units by " + kInputs[int(input)];
    case ActionKind::Close: return where + " closed from its frame";
    }
    return where;
}

Model::Model() { Show(Screen::Form1); }

std::optional<int> Model::FirstFailingPosition(int page) const {
    for (int k = 1; k <= 16; ++k) {
        if (Box(page, 2 * k - 1) + Box(page, 2 * k) != 1) return k;
    }
    return std::nullopt;
}

bool Model::PagePasses(int page) const { return !FirstFailingPosition(page); }

void Model::Load(Screen screen) {
    ScreenState& state = screens_[Index(screen)];
    state.loaded = true;
    ++state.loads;
    // A result screen shows itself while loading and gives its button the focus.
    if (IsResult(screen)) {
        state.visible = true;
        firstShownResult_ = screen;
    }
}

void Model::Show(Screen screen) {
    if (!State(screen).loaded) Load(screen);
    screens_[Index(screen)].visible = true;
}

void Model::Hide(Screen screen) {
    if (!State(screen).loaded) Load(screen);
    screens_[Index(screen)].visible = false;
}

void Model::End(int status) {
    for (ScreenState& state : screens_)
        state.visible = false;
    ended_ = true;
    exitStatus_ = status;
}

void Model::EndByError() { End(1); }

void Model::Diagnose() {
    const auto sum = [this](std::initializer_list<int> items) {
        int total = 0;
        for (int item : items) {
            const int page = item <= 16 ? 1 : 2;
            const int position = item <= 16 ? item : item - 16;
            total += Box(page, 2 * position - 1);
        }
        return total;
    };
    Diagnosis& d = diagnosis_;
    d.roughness = sum(kRoughItems);
    d.irritation = sum(kIrritationItems);
    d.hesitation = sum(kHesitationItems);
    d.flags[0] = d.roughness >= 3 ? 1 : 0;
    d.flags[1] = d.irritation >= 5 ? 1 : 0;
    d.flags[2] = d.hesitation >= 3 ? 1 : 0;
    d.flags[3] = d.hesitation == 0 ? 1 : 0;
    d.flags[4] = d.flags[0] + d.flags[1] + d.flags[2] + d.flags[3] == 0 ? 1 : 0;
    ++diagnoses_;
}

void Model::Chain(Screen from) {
    for (int type = TypeOf(from) + 1; type < 5; ++type) {
        if (diagnosis_.flags[type] == 1) {
            Hide(from);
            Show(ResultScreenOf(type));
            return;
        }
    }
    Hide(from);
    Hide(Screen::Form2);
    Show(Screen::Form1);
}

void Model::Apply(const Action& action) {
    firstShownResult_.reset();
    if (ended_) return;
    const Screen screen = action.screen;
    switch (action.kind) {
    case ActionKind::Toggle: {
        int& box = boxes_[Index(screen)][action.control - 1];
        box = 1 - box;
        return;
    }
    case ActionKind::Type:
        // The source note on the pages is disabled and takes no input.
        if (IsResult(screen)) typed_[Index(screen)][action.control - 1] += action.text;
        return;
    case ActionKind::Close:
        if (IsPage(screen)) End(0);
        if (IsDialog(screen)) Apply({ActionKind::Click, screen, 1});
        return;
    case ActionKind::Click: break;
    }
    const int command = action.control;
    switch (screen) {
    case Screen::Form1:
        if (command != 1) return End(0);
        if (!PagePasses(1)) return Show(Screen::Form3);
        Hide(Screen::Form1);
        Show(Screen::Form2);
        return;
    case Screen::Form2:
        if (command == 2) return End(0);
        if (command == 3) {
            Hide(Screen::Form2);
            Show(Screen::Form1);
            return;
        }
        if (!PagePasses(2)) return Show(Screen::Form4);
        // Page 1 may have been changed again beside page 2 after its dialog's OK.
        if (!PagePasses(1)) return Show(Screen::Form3);
        Diagnose();
        Hide(Screen::Form2);
        for (int type = 0; type < 5; ++type) {
            if (diagnosis_.flags[type] == 1) return Show(ResultScreenOf(type));
        }
        return;
    case Screen::Form3:
    case Screen::Form4:
        Hide(screen);
        Show(screen == Screen::Form3 ? Screen::Form1 : Screen::Form2);
        return;
    default: Chain(screen); return;
    }
}

std::vector<Action> Model::Choices() const {
    std::vector<Action> choices;
    if (ended_) return choices;
    for (Screen screen : kAllScreens) {
        if (!State(screen).visible) continue;
        choices.push_back({ActionKind::Close, screen});
        if (IsPage(screen)) {
            for (int box = 1; box <= 32; ++box)
                choices.push_back({ActionKind::Toggle, screen, box});
            for (int command = 1; command <= 3; ++command) {
                choices.push_back({ActionKind::Click, screen, command});
            }
            choices.push_back({ActionKind::Type, screen, 1});
        } else {
            choices.push_back({ActionKind::Click, screen, 1});
        }
        if (IsResult(screen)) {
            for (int box = 1; box <= ParagraphBoxes(screen); ++box) {
                choices.push_back({ActionKind::Type, screen, box});
            }
        }
    }
    return choices;
}

} // namespace tolvane::model
