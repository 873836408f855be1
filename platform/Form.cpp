#include "Form.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "Controls.h"
#include "LayoutBuilder.h"
#include "Runtime.h"
#include "RuntimeError.h"

namespace tolvane::platform {

Form::Form(const FormSpec& layout)
    : runtime_(Runtime::Current()), layout_(layout), name_(layout.name) {
    runtime_.Register(*this);
}

Form::~Form() = default;

QWidget* Form::Window() const { return window_.get(); }

Form::State Form::CurrentState() const {
    if (!window_) return State::NotLoaded;
    return window_->isVisible() ? State::Visible : State::Hidden;
}

void Form::EnsureLoaded() {
    if (window_) return;
    runtime_.CheckFault(Operation::Load, name_);
    BuiltForm built = BuildForm(layout_);
    for (const BuiltControl& control : built.controls) {
        controls_.emplace(control.design->name, Entry{control.design->kind, control.widget});
        if (control.design->kind != ControlKind::CommandButton) continue;
        const auto handler = clickHandlers_.find(control.design->name);
        if (handler == clickHandlers_.end()) continue;
        QObject::connect(static_cast<CommandButton*>(control.widget), &QPushButton::clicked,
                         [this, run = handler->second] { runtime_.Dispatch(run); });
    }
    built.window->SetCloseRequestHandler(
        [this] { runtime_.Dispatch([this] { OnCloseRequest(); }); });
    firstInTabOrder_ = built.firstInTabOrder;
    // Loaded from here on: Form_Load's own operations must not load again.
    window_ = std::move(built.window);
    Form_Load();
}

void Form::OnClick(std::string_view control, std::function<void()> handler) {
    clickHandlers_.insert_or_assign(std::string(control), std::move(handler));
}

void Form::Show() {
    EnsureLoaded();
    runtime_.CheckFault(Operation::Show, name_);
    const bool first = !shownOnce_;
    shownOnce_ = true;
    if (first) CentreOnScreen();
    window_->show();
    window_->raise();
    window_->activateWindow();
    if (first && firstInTabOrder_) firstInTabOrder_->setFocus(Qt::ActiveWindowFocusReason);
}

void Form::Hide() {
    EnsureLoaded();
    runtime_.CheckFault(Operation::Hide, name_);
    window_->hide();
}

void Form::SetCaption(std::u16string_view caption) {
    EnsureLoaded();
    runtime_.CheckFault(Operation::Caption, name_);
    window_->setWindowTitle(ToQString(caption));
}

void Form::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // The whole window is centred, frame included, as far as the platform
    // knows the frame before the window is first shown; move() places the frame.
    window_->winId();
    const QWindow* handle = window_->windowHandle();
    const QMargins margins = handle ? handle->frameMargins() : QMargins();
    QRect frame(QPoint(0, 0), window_->size().grownBy(margins));
    frame.moveCenter(available.center());
    window_->move(frame.topLeft());
}

std::string ControlRef::Where() const { return form_.name_ + "." + name_; }

QWidget& ControlRef::Prepare(Operation operation) {
    form_.EnsureLoaded();
    form_.runtime_.CheckFault(operation, Where());
    const auto entry = form_.controls_.find(name_);
    if (entry == form_.controls_.end() || !entry->second.widget) {
        throw RuntimeError(kInvalidCall, Where() + " (no such control)");
    }
    kind_ = entry->second.kind;
    return *entry->second.widget;
}

void ControlRef::SetCaption(std::u16string_view caption) {
    QWidget& widget = Prepare(Operation::Caption);
    const QString text = ToQString(caption);
    switch (kind_) {
    case ControlKind::Label: static_cast<Label&>(widget).SetCaption(text); return;
    case ControlKind::CheckBox:
    case ControlKind::CommandButton: static_cast<QAbstractButton&>(widget).setText(text); return;
    default: throw RuntimeError(kInvalidProperty, Where() + ".Caption");
    }
}

void ControlRef::SetText(std::u16string_view text) {
    QWidget& widget = Prepare(Operation::Text);
    if (kind_ != ControlKind::TextBox) throw RuntimeError(kInvalidProperty, Where() + ".Text");
    static_cast<TextBox&>(widget).SetText(ToQString(text));
}

logic::Int16 ControlRef::Value() {
    QWidget& widget = Prepare(Operation::Value);
    if (kind_ != ControlKind::CheckBox) throw RuntimeError(kInvalidProperty, Where() + ".Value");
    // Qt numbers the grayed state 1 and the ticked state 2.
    switch (static_cast<CheckBox&>(widget).checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    }
    return 0;
}

void ControlRef::SetFocus() {
    QWidget& widget = Prepare(Operation::Focus);
    if (form_.CurrentState() != Form::State::Visible || !widget.isVisible() ||
        !widget.isEnabled() || widget.focusPolicy() == Qt::NoFocus) {
        throw RuntimeError(kInvalidCall, Where() + ".SetFocus");
    }
    widget.setFocus(Qt::OtherFocusReason);
}

} // namespace tolvane::platform
