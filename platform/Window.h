#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "Int16.h"
#include "Layout.h"

// What a toolkit binding gives the forms runtime: a screen's window built from
// its layout, the event loop and the error report's box. The runtime above it
// keeps the rules (states, loading, faults, errors, what may take the focus),
// so a binding only builds, shows and reads. Exactly one binding is linked in.
namespace tolvane::platform {

struct ErrorReport {
    std::u16string title;
    std::u16string text;
};

class Window {
public:
    // What the user does that the runtime handles. Controls are named by
    // their index in the layout's table.
    struct Events {
        std::function<void(std::size_t control)> click; // a command button pressed
        std::function<void()> closeRequest;             // the frame asked to close
    };

    virtual ~Window() = default;

    virtual bool IsVisible() const = 0;
    // Visible, in front and active. The first time, centred on the screen,
    // frame included, with the focus on the first control in tab order.
    virtual void Show(bool first) = 0;
    virtual void Hide() = 0;
    virtual void SetTitle(std::u16string_view title) = 0;
    // The caller has checked that the control is of a kind that has the property.
    virtual void SetCaption(std::size_t control, std::u16string_view caption) = 0;
    virtual void SetText(std::size_t control, std::u16string_view text) = 0;
    virtual logic::Int16 Value(std::size_t control) const = 0; // 0, 1 or 2 (grayed)
    virtual void SetFocus(std::size_t control) = 0;
};

// Builds the window and every control of a layout, hidden. The layout
// outlives the window.
std::unique_ptr<Window> BuildWindow(const FormSpec& layout, Window::Events events);

// The event loop of a program run, and the way out of it with a status.
int RunEventLoop();
void QuitEventLoop(int status);

// Shows the report modally and returns when the user has dismissed it.
void PresentErrorReport(const ErrorReport& report);

// The whole program: sets up the toolkit (ignoring the command line), runs
// `start` as the first handler and then the event loop; returns the exit status.
int RunProgram(int argc, char* argv[], void (*start)());

} // namespace tolvane::platform
