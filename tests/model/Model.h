#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

// A reference model of the whole program, written from its navigation graph,
// its load rules and its scoring rules, without any of the program's code: the
// random driver runs it side by side with the real screens and compares.
namespace tolvane::model {

enum class Screen { Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9 };
inline constexpr int kScreenCount = 9;
inline constexpr std::array kAllScreens{Screen::Form1, Screen::Form2, Screen::Form3,
                                        Screen::Form4, Screen::Form5, Screen::Form6,
                                        Screen::Form7, Screen::Form8, Screen::Form9};

inline int Index(Screen screen) { return static_cast<int>(screen); }
std::string Name(Screen screen);
bool IsPage(Screen screen);
bool IsDialog(Screen screen);
bool IsResult(Screen screen);

// How many paragraph boxes a result screen has, and how long each is after load.
int ParagraphBoxes(Screen screen);
int ParagraphLength(Screen screen, int box);

// The caption length of questionnaire item 1 to 32.
int ItemCaptionLength(int item);

enum class ActionKind {
    Toggle, // tick or untick box `control` of a page
    Click,  // command button `control`
    Type,   // `text` into text box `control`
    Close,  // a close request from the window frame
};

// How the user delivers a toggle, a click or text: text comes key by key
// (Mouse), as one input-method commit (Enter) or pasted from the clipboard.
enum class Input { Mouse, Space, Enter, Paste };

struct Action {
    ActionKind kind;
    Screen screen;
    int control = 0;
    Input input = Input::Mouse;
    std::u16string text{}; // Type only; the model expects all of it to arrive

    std::string Describe() const;
};

struct ScreenState {
    bool loaded = false;
    bool visible = false;
    int loads = 0;
};

// Type flags A to E, then the three scale scores.
struct Diagnosis {
    std::array<int, 5> flags{};
    int roughness = 0;
    int irritation = 0;
    int hesitation = 0;
};

class Model {
public:
    // The program as it stands after start-up: Form1 loaded and shown.
    Model();

    void Apply(const Action& action);
    // The runtime reported an error: every window goes and the program ends
    // with a failure status.
    void EndByError();

    // Everything a user could do now, on what is visible.
    std::vector<Action> Choices() const;

    const ScreenState& State(Screen screen) const { return screens_[Index(screen)]; }
    int Box(int page, int box) const { return boxes_[page - 1][box - 1]; }
    const Diagnosis& Result() const { return diagnosis_; }
    int Diagnoses() const { return diagnoses_; }
    bool Ended() const { return ended_; }
    int ExitStatus() const { return exitStatus_; }
    // The result screen that was loaded by the last action, whose "次へ"
    // therefore holds the focus.
    std::optional<Screen> FirstShownResult() const { return firstShownResult_; }
    // What the user has typed into a result screen's paragraph box since it loaded.
    const std::u16string& Typed(Screen screen, int box) const {
        return typed_[Index(screen)][box - 1];
    }
    // Does page 1 or 2 pass its check as the boxes stand?
    bool PagePasses(int page) const;
    // The item on `page` whose boxes make it fail, or none.
    std::optional<int> FirstFailingPosition(int page) const;

private:
    void Show(Screen screen);
    void Hide(Screen screen);
    void Load(Screen screen);
    void End(int status);
    void Diagnose();
    void Chain(Screen from);

    std::array<ScreenState, kScreenCount> screens_{};
    std::array<std::array<int, 32>, 2> boxes_{};
    std::array<std::array<std::u16string, 5>, kScreenCount> typed_{};
    Diagnosis diagnosis_;
    int diagnoses_ = 0;
    bool ended_ = false;
    int exitStatus_ = 0;
    std::optional<Screen> firstShownResult_;
};

} // namespace tolvane::model
