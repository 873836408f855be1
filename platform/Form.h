#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "Int16.h"
#include "Layout.h"
#include "Runtime.h"

namespace tolvane::platform {

class Form;
class Window;

// A control of a screen, named as in its layout. Every operation first loads
// the screen if it is not loaded, and raises a runtime error when it fails.
class ControlRef final {
public:
    ControlRef(Form& form, std::string name) : form_(form), name_(std::move(name)) {}

    void SetCaption(std::u16string_view caption); // label, check box, button
    void SetText(std::u16string_view text);       // text box
    logic::Int16 Value();                         // check box: 0, 1 or 2 (grayed)
    void SetValue(logic::Int16 value);            // check box: 0, 1 or 2
    void SetFocus();                              // needs its screen visible

private:
    // Loads the screen, lets an injected fault strike, finds the control.
    std::size_t Prepare(Operation operation);
    std::string Where() const;

    Form& form_;
    std::string name_;
};

// A screen: not loaded, loaded and hidden, or visible. Loading builds the
// window from the layout and runs Form_Load; a screen is never unloaded.
class Form {
public:
    enum class State { NotLoaded, Hidden, Visible };

    explicit Form(const FormSpec& layout);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Modeless: makes the screen visible and active. From the screen's own
    // Form_Load it makes it visible at once.
    void Show();
    // Keeps every value; a later Show does not load again.
    void Hide();
    void SetCaption(std::u16string_view caption);

    ControlRef Control(std::string_view name) { return {*this, std::string(name)}; }
    ControlRef Label(int n) { return Control("Label" + std::to_string(n)); }
    ControlRef Check(int n) { return Control("Check" + std::to_string(n)); }
    ControlRef Command(int n) { return Control("Command" + std::to_string(n)); }
    ControlRef Text(int n) { return Control("Text" + std::to_string(n)); }

    State CurrentState() const;
    const std::string& Name() const { return layout_.name; }
    const FormSpec& Layout() const { return layout_; }
    // The toolkit's window once loaded, null before.
    Window* Native() const { return window_.get(); }

protected:
    virtual void Form_Load() {}
    // What a close request from the window frame does; by default nothing,
    // since no screen may be destroyed.
    virtual void OnCloseRequest() {}
    // The handler of a command button's click.
    void OnClick(std::string_view control, std::function<void()> handler);

    Runtime& runtime_;

private:
    friend class ControlRef;

    void EnsureLoaded();
    void Clicked(std::size_t control);

    const FormSpec& layout_;
    std::unique_ptr<Window> window_;
    std::map<std::string, std::function<void()>, std::less<>> clickHandlers_;
    bool shownOnce_ = false;
};

} // namespace tolvane::platform
