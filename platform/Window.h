#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ErrorReport.h"
#include "FormRules.h"
#include "Layout.h"

// Seen by the runtime, its bindings and their tests: a screen reaches the
// toolkit only through the runtime.
#ifndef TOLVANE_PLATFORM_INTERNALS
#error "Window.h is the runtime's contract with its bindings, not for screens"
#endif

// What a toolkit binding gives the forms runtime: a screen's window built from
// its layout, the event loop and the error report's box. The runtime above it
// keeps the rules (states, loading, faults, errors, what may take the focus,
// and those of FormRules.h), so a binding only builds, places, draws and
// reads. Exactly one binding is linked in. Nothing here need block: where the
// platform owns the event loop (a web page), the loop and the error report
// return at once and call back.
namespace tolvane::platform {

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
    // frame included, with the focus on `focus` where given, set before the
    // first frame where the toolkit allows.
    virtual void Show(bool first, std::optional<std::size_t> focus) = 0;
    virtual void Hide() = 0;
    virtual void SetTitle(std::u16string_view title) = 0;
    // The caller has checked that the control is of a kind that has the property.
    virtual void SetCaption(std::size_t control, std::u16string_view caption) = 0;
    virtual void SetText(std::size_t control, std::u16string_view text) = 0;
    virtual CheckState Value(std::size_t control) const = 0;
    virtual void SetValue(std::size_t control, CheckState state) = 0;
    virtual void SetFocus(std::size_t control) = 0;
};

// Builds the window and every control of a layout, hidden. The layout
// outlives the window.
std::unique_ptr<Window> BuildWindow(const FormSpec& layout, Window::Events events);

// Sets up the toolkit for a run of the program, ignoring the command line;
// the toolkit stays up while the returned object lives.
std::shared_ptr<void> StartToolkit(int argc, char* argv[]);

// The event loop of a program run, returning the status QuitEventLoop gave;
// nothing at once where the platform runs the loop itself. QuitEventLoop
// ends the loop, or where the platform runs it, the program's presence,
// leaving `notice` in its place.
std::optional<int> RunEventLoop();
void QuitEventLoop(int status, std::u16string_view notice);

// Shows the report modally and calls `dismissed` once the user has dismissed it.
void PresentErrorReport(const ErrorReport& report, std::function<void()> dismissed);

} // namespace tolvane::platform
