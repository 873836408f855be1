#pragma once

#include <string>
#include <vector>

#include "Colours.h"

// How the whole-program tests reach a binding: real input events on real
// controls, and what the user sees read back from what the toolkit draws.
namespace tolvane::check {

enum class Screen { Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9 };

// A box or button by the mouse, or by Space or Enter with the focus on it;
// text key by key (Mouse), or as one input-method commit (Enter).
enum class Input { Mouse, Space, Enter };

class Driver {
public:
    virtual ~Driver() = default;
    // Each call returns when the program has handled all it caused.
    virtual void Settle() = 0;
    // A box or button clicked at `at` along its width, or its key pressed.
    virtual void Press(Screen screen, const std::string& control, Input input, double at) = 0;
    // Clicks into text box `box`, moves to its end, enters `text`.
    virtual void Type(Screen screen, int box, const std::u16string& text, Input input) = 0;
    virtual void Close(Screen screen) = 0;          // what the frame's close button asks
    virtual void Tab(Screen screen, bool back) = 0; // Tab, or Shift+Tab
    // The caption of a label, box or button, the contents of a text box,
    // "(none)" where the screen has no such control.
    virtual std::u16string Text(Screen screen, const std::string& control) = 0;
    virtual std::string Focus(Screen screen) = 0; // the focused control's name, or ""
    // Whether the toolkit has the screen's window, whether it is on screen,
    // and how box `box` is drawn: 0 clear, 1 ticked, 2 grayed.
    virtual bool Loaded(Screen screen) = 0;
    virtual bool Shown(Screen screen) = 0;
    virtual int Ticked(Screen screen, int box) = 0;
    // How far the middle of the screen's window, frame and all, lies from the
    // middle of the desktop's work area (of a page's viewport), in pixels.
    virtual std::pair<int, int> OffCentre(Screen screen) = 0;
    // A control's text and background colours; a dark high-contrast scheme, or back.
    virtual std::pair<platform::Rgb, platform::Rgb> Drawn(Screen screen,
                                                          const std::string& control) = 0;
    virtual void DarkScheme(bool on) = 0;
    // The error reports shown since the last call, title and text as the box
    // shows them, each dismissed with its OK button as the user would.
    virtual std::vector<std::u16string> Reports() = 0;
};

} // namespace tolvane::check
