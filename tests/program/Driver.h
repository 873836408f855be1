#pragma once

#include <string>

// How the whole-program tests reach a toolkit binding: they do what a user
// does, with real input events on real controls, and read back what the user
// sees. Everything else (the runtime, the screens, the model and the walk)
// is shared by both bindings.
namespace tolvane::check {

enum class Screen { Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9 };

// How the user delivers an action: a box or button by the mouse, or by Space
// or Enter with the keyboard focus on it; text key by key (Mouse), as one
// input-method commit (Enter) or pasted from the clipboard (Paste).
enum class Input { Mouse, Space, Enter, Paste };

class Driver {
public:
    virtual ~Driver() = default;

    // Lets the program handle everything that is waiting: paints, posted events.
    virtual void Settle() = 0;

    // Each action returns when the program has handled all it caused.
    // `at` (0 to 1) is where along its width a mouse click lands on the box.
    virtual void Tick(Screen screen, int box, Input input, double at) = 0;
    virtual void Click(Screen screen, int command, Input input) = 0;
    // Clicks into text box `box`, moves to its end and enters `text`.
    virtual void Type(Screen screen, int box, const std::u16string& text, Input input) = 0;
    // What the window frame's close button asks.
    virtual void Close(Screen screen) = 0;
    // Tab, or Shift+Tab when `back`, to whatever has the focus in the screen.
    virtual void Tab(Screen screen, bool back) = 0;

    // What the user sees of a loaded screen.
    virtual bool Visible(Screen screen) = 0;
    virtual std::u16string Title(Screen screen) = 0;
    // The caption of a label, box or button, or the contents of a text box;
    // "(none)" where the screen has no such control.
    virtual std::u16string Text(Screen screen, const std::string& control) = 0;
    virtual int Value(Screen screen, int box) = 0; // 0, 1, or 2 for grayed
    // The name of the control that has the keyboard focus in the screen's
    // window, or "" when none has.
    virtual std::string Focus(Screen screen) = 0;
};

} // namespace tolvane::check
