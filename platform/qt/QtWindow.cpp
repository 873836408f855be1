#include "QtWindow.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "Controls.h"
#include "Fonts.h"
#include "Form.h"
#include "Twips.h"

namespace tolvane::platform {
namespace {

const QColor kPageGreyColour(kPageGrey, kPageGrey, kPageGrey);
const QColor kDisabledTextColour(109, 109, 109);

QRect ToQRect(const PixelBox& box) { return {box.x, box.y, box.width, box.height}; }

// Labels and check boxes are opaque, in the system's button colours: roles
// of the palette they inherit, not a palette of their own each.
void PaintButtonFace(QWidget& widget) {
    widget.setBackgroundRole(QPalette::Button);
    widget.setForegroundRole(QPalette::ButtonText);
    widget.setAutoFillBackground(true);
}

void PaintPageGrey(QWidget& widget) {
    QPalette palette = widget.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, kPageGreyColour);
        palette.setColor(group, QPalette::Base, kPageGreyColour);
    }
    // Disabled text stays readable on the grey.
    palette.setColor(QPalette::Disabled, QPalette::Text, kDisabledTextColour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QWidget* CreateControl(const ControlSpec& design, QWidget* parent) {
    const QString caption = ToQString(design.caption);
    switch (design.kind) {
    case ControlKind::Label: {
        auto* label = new Label(parent, design);
        PaintButtonFace(*label);
        label->setText(caption);
        return label;
    }
    case ControlKind::CheckBox: {
        auto* box = new CheckBox(parent);
        PaintButtonFace(*box);
        box->setText(caption);
        return box;
    }
    case ControlKind::CommandButton: {
        auto* button = new CommandButton(parent);
        button->setText(caption);
        return button;
    }
    case ControlKind::TextBox: {
        auto* text = new TextBox(parent);
        if (design.style & kPageBackground) PaintPageGrey(*text);
        text->SetText(caption);
        return text;
    }
    case ControlKind::Line: {
        const PixelLine ends = LineEnds(design.box);
        return new Line(parent, QLine(ends.x1, ends.y1, ends.x2, ends.y2));
    }
    }
    return nullptr;
}

void Place(const ControlSpec& design, QWidget& widget) {
    if (design.kind == ControlKind::Line) {
        widget.setGeometry(ToQRect(LineEnds(design.box).Bounds()));
        return;
    }
    const QRect r = ToQRect(TwipsToPixels(design.box));
    widget.move(r.topLeft());
    if (auto* label = dynamic_cast<Label*>(&widget)) {
        // Sized from its box, then as its caption asks in its own font.
        if (!(design.style & kAutoSize)) label->resize(r.size());
        label->Fit();
        return;
    }
    widget.resize(r.size());
}

// A screen's window. A close request from the frame never closes it: the
// screen decides what the request means.
class FormWindow final : public QWidget {
public:
    explicit FormWindow(std::function<void()> onCloseRequest)
        : onCloseRequest_(std::move(onCloseRequest)) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        onCloseRequest_();
    }

private:
    std::function<void()> onCloseRequest_;
};

class QtWindow final : public Window {
public:
    QtWindow(const FormSpec& layout, Events events);

    QWidget* Widget() const { return window_.get(); }

    bool IsVisible() const override { return window_->isVisible(); }
    void Show(bool first, std::optional<std::size_t> focus) override;
    void Hide() override { window_->hide(); }
    void SetTitle(std::u16string_view title) override { window_->setWindowTitle(ToQString(title)); }
    void SetCaption(std::size_t control, std::u16string_view caption) override;
    void SetText(std::size_t control, std::u16string_view text) override {
        static_cast<TextBox*>(controls_[control])->SetText(ToQString(text));
    }
    CheckState Value(std::size_t control) const override;
    void SetFocus(std::size_t control) override {
        controls_[control]->setFocus(Qt::OtherFocusReason);
    }

private:
    void CentreOnScreen();

    std::unique_ptr<FormWindow> window_;
    std::vector<QWidget*> controls_; // in table order, owned by the window
};

QtWindow::QtWindow(const FormSpec& layout, Events events)
    : window_(std::make_unique<FormWindow>(std::move(events.closeRequest))) {
    FormWindow& window = *window_;
    window.setObjectName(QString::fromStdString(layout.name));
    window.setWindowTitle(ToQString(layout.caption));
    window.setFont(DefaultFont());
    if (!layout.controlBox) {
        window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }
    if (layout.background == Background::PageGrey) {
        PaintPageGrey(window);
    } else {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Button));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
    }
    window.resize(TwipsToPixels(layout.clientWidth), TwipsToPixels(layout.clientHeight));

    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlSpec& control = layout.controls[i];
        QWidget* widget = CreateControl(control, &window);
        widget->setObjectName(QString::fromStdString(control.name));
        if (control.font) widget->setFont(MakeFont(*control.font));
        // Where the user types, any font may supply what the IPA faces lack.
        if (control.kind == ControlKind::TextBox && !(control.style & kDisabled))
            widget->setFont(WithFallback(widget->font()));
        Place(control, *widget);
        if (!control.description.empty())
            widget->setAccessibleDescription(ToQString(control.description));
        widget->setEnabled(!(control.style & kDisabled));
        widget->setVisible(!(control.style & kHidden));
        if (!TakesFocus(control)) widget->setFocusPolicy(Qt::NoFocus);
        if (control.kind == ControlKind::CommandButton) {
            QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked,
                             [click = events.click, i] { click(i); });
        }
        controls_.push_back(widget);
    }

    const std::vector<std::size_t> order = TabOrder(layout);
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(controls_[order[i - 1]], controls_[order[i]]);
    }
}

void QtWindow::Show(bool first, std::optional<std::size_t> focus) {
    if (first) CentreOnScreen();
    // In place before the first frame, which then draws it, not after.
    if (focus) controls_[*focus]->setFocus(Qt::ActiveWindowFocusReason);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtWindow::SetCaption(std::size_t control, std::u16string_view caption) {
    const QString text = ToQString(caption);
    if (auto* label = dynamic_cast<Label*>(controls_[control])) {
        label->SetCaption(text);
    } else {
        static_cast<QAbstractButton*>(controls_[control])->setText(text);
    }
}

CheckState QtWindow::Value(std::size_t control) const {
    switch (static_cast<CheckBox*>(controls_[control])->checkState()) {
    case Qt::Unchecked: return CheckState::Unchecked;
    case Qt::Checked: return CheckState::Checked;
    case Qt::PartiallyChecked: return CheckState::Grayed;
    }
    return CheckState::Unchecked;
}

void QtWindow::CentreOnScreen() {
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

} // namespace

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

std::unique_ptr<Window> BuildWindow(const FormSpec& layout, Window::Events events) {
    return std::make_unique<QtWindow>(layout, std::move(events));
}

QWidget* WidgetOf(const Form& form) {
    const auto* window = static_cast<const QtWindow*>(form.Native());
    return window ? window->Widget() : nullptr;
}

} // namespace tolvane::platform
