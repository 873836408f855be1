#include "Form.h"

#include <algorithm>
#include <stdexcept>

#include "RuntimeError.h"
#include "Window.h"

namespace tolvane::platform {

Form::Form(const FormSpec& layout) : runtime_(Runtime::Current()), layout_(layout) {
    runtime_.Register(*this);
}

// A screen whose constructor failed must not be left for the runtime to hide.
Form::~Form() { runtime_.Unregister(*this); }

Form::State Form::CurrentState() const {
    if (!window_) return State::NotLoaded;
    return window_->IsVisible() ? State::Visible : State::Hidden;
}

void Form::EnsureLoaded() {
    if (window_) return;
    runtime_.CheckFault(Operation::Load, Name());
    // Loaded from here on: Form_Load's own operations must not load again.
    window_ = BuildWindow(layout_, {[this](std::size_t control) { Clicked(control); },
                                    [this] { runtime_.Dispatch([this] { OnCloseRequest(); }); }});
    Form_Load();
}

void Form::Clicked(std::size_t control) {
    const auto handler = clickHandlers_.find(layout_.controls.at(control).name);
    if (handler != clickHandlers_.end()) runtime_.Dispatch(handler->second);
}

void Form::OnClick(std::string_view control, std::function<void()> handler) {
    // A misspelt name would give a button that silently does nothing.
    const auto& controls = layout_.controls;
    if (std::none_of(controls.begin(), controls.end(), [control](const ControlSpec& c) {
            return c.name == control && c.kind == ControlKind::CommandButton;
        })) {
        throw std::invalid_argument(Name() + "." + std::string(control) + " is no button");
    }
    clickHandlers_.insert_or_assign(std::string(control), std::move(handler));
}

void Form::Show() {
    EnsureLoaded();
    runtime_.CheckFault(Operation::Show, Name());
    const bool first = !shownOnce_;
    shownOnce_ = true;
    // The focus goes to the first control in tab order when the screen first shows.
    std::optional<std::size_t> focus;
    if (first) {
        const std::vector<std::size_t> order = TabOrder(layout_);
        if (!order.empty()) focus = order.front();
    }
    window_->Show(first, focus);
}

void Form::Hide() {
    EnsureLoaded();
    runtime_.CheckFault(Operation::Hide, Name());
    window_->Hide();
}

void Form::SetCaption(std::u16string_view caption) {
    EnsureLoaded();
    runtime_.CheckFault(Operation::Caption, Name());
    window_->SetTitle(caption);
}

std::string ControlRef::Where() const { return form_.Name() + "." + name_; }

std::size_t ControlRef::Prepare(Operation operation) {
    form_.EnsureLoaded();
    form_.runtime_.CheckFault(operation, Where());
    const auto& controls = form_.layout_.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name_) return i;
    }
    throw RuntimeError(kInvalidCall, Where() + " (no such control)");
}

void ControlRef::SetCaption(std::u16string_view caption) {
    const std::size_t i = Prepare(Operation::Caption);
    switch (form_.layout_.controls[i].kind) {
    case ControlKind::Label:
    case ControlKind::CheckBox:
    case ControlKind::CommandButton: form_.window_->SetCaption(i, caption); return;
    default: throw RuntimeError(kInvalidProperty, Where() + ".Caption");
    }
}

void ControlRef::SetText(std::u16string_view text) {
    const std::size_t i = Prepare(Operation::Text);
    if (form_.layout_.controls[i].kind != ControlKind::TextBox) {
        throw RuntimeError(kInvalidProperty, Where() + ".Text");
    }
    form_.window_->SetText(i, text);
}

logic::Int16 ControlRef::Value() {
    const std::size_t i = Prepare(Operation::Value);
    if (form_.layout_.controls[i].kind != ControlKind::CheckBox) {
        throw RuntimeError(kInvalidProperty, Where() + ".Value");
    }
    return static_cast<logic::Int16>(form_.window_->Value(i));
}

void ControlRef::SetValue(logic::Int16 value) {
    const std::size_t i = Prepare(Operation::Value);
    if (form_.layout_.controls[i].kind != ControlKind::CheckBox) {
        throw RuntimeError(kInvalidProperty, Where() + ".Value");
    }
    if (value < 0 || value > 2) throw RuntimeError(kInvalidCall, Where() + ".Value");
    form_.window_->SetValue(i, static_cast<CheckState>(value));
}

void ControlRef::SetFocus() {
    const std::size_t i = Prepare(Operation::Focus);
    if (form_.CurrentState() != Form::State::Visible || !TakesFocus(form_.layout_.controls[i])) {
        throw RuntimeError(kInvalidCall, Where() + ".SetFocus");
    }
    form_.window_->SetFocus(i);
}

} // namespace tolvane::platform
