#include "QtWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "Colours.h"
#include "Controls.h"
#include "Fonts.h"
#include "Form.h"
#include "Placement.h"
#include "Twips.h"

namespace tolvane::platform {
namespace {

const QColor kPageGreyColour(kPageGrey, kPageGrey, kPageGrey);
const QColor kDisabledTextColour(kDisabledTextRgb.red, kDisabledTextRgb.green,
                                 kDisabledTextRgb.blue);

QRect ToQRect(const PixelBox& box) { return {box.x, box.y, box.width, box.height}; }

// Labels and check boxes are opaque, in the system's button colours: roles
// of the palette they inherit, not a palette of their own each.
void PaintButtonFace(QWidget& widget) {
    widget.setBackgroundRole(QPalette::Button);
    widget.setForegroundRole(QPalette::ButtonText);
    widget.setAutoFillBackground(true);
}

// The system's text, as the application palette gives it, reads on the grey.
bool PageGreyReadable() {
    const QPalette system = QApplication::palette();
    const auto rgb = [&](QPalette::ColorRole role) {
        const QColor c = system.color(QPalette::Active, role);
        return Rgb{c.red(), c.green(), c.blue()};
    };
    return !PageGreyGivesWay(false, rgb(QPalette::Text)) &&
           !PageGreyGivesWay(false, rgb(QPalette::WindowText));
}

// The page grey behind the widget, or, where the system's text would not read
// on it (a dark or high-contrast scheme), the system's own colours.
void PaintPageGrey(QWidget& widget) {
    widget.setAutoFillBackground(true);
    if (!PageGreyReadable()) {
        widget.setPalette(QPalette());
        return;
    }
    QPalette palette = widget.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, kPageGreyColour);
        palette.setColor(group, QPalette::Base, kPageGreyColour);
    }
    // Disabled text stays readable on the grey.
    palette.setColor(QPalette::Disabled, QPalette::Text, kDisabledTextColour);
    widget.setPalette(palette);
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

// The screen the user was in last, while it exists: new screens open on its
// monitor.
QPointer<QWidget> lastActive;

// A screen's window. A close request from the frame never closes it: the
// screen decides what the request means. It follows a change of the system's
// colours, and notes when the user comes to it.
class FormWindow final : public QWidget {
public:
    FormWindow(std::function<void()> onCloseRequest, std::function<void()> onPaletteChange)
        : onCloseRequest_(std::move(onCloseRequest)), onPaletteChange_(std::move(onPaletteChange)) {
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        onCloseRequest_();
    }
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow()) lastActive = this;
        // Repainting sets palettes, which report a change in their turn.
        if (event->type() == QEvent::PaletteChange && !repainting_) {
            repainting_ = true;
            onPaletteChange_();
            repainting_ = false;
        }
    }

private:
    std::function<void()> onCloseRequest_;
    std::function<void()> onPaletteChange_;
    bool repainting_ = false;
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
    void SetValue(std::size_t control, CheckState state) override {
        static_cast<CheckBox*>(controls_[control])
            ->setCheckState(state == CheckState::Checked  ? Qt::Checked
                            : state == CheckState::Grayed ? Qt::PartiallyChecked
                                                          : Qt::Unchecked);
    }
    void SetFocus(std::size_t control) override {
        controls_[control]->setFocus(Qt::OtherFocusReason);
    }

private:
    void CentreOnScreen();
    // The page grey where it reads, the system's colours where it does not.
    void PaintBackgrounds();

    const FormSpec& layout_;
    std::unique_ptr<FormWindow> window_;
    std::vector<QWidget*> controls_; // in table order, owned by the window
};

QtWindow::QtWindow(const FormSpec& layout, Events events)
    : layout_(layout), window_(std::make_unique<FormWindow>(std::move(events.closeRequest),
                                                            [this] { PaintBackgrounds(); })) {
    FormWindow& window = *window_;
    window.setObjectName(QString::fromStdString(layout.name));
    window.setWindowTitle(ToQString(layout.caption));
    window.setFont(DefaultFont());
    if (!layout.controlBox) {
        window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
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
        if (control.kind == ControlKind::TextBox)
            widget->setAccessibleName(ToQString(control.description));
        else if (!control.description.empty())
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
    PaintBackgrounds();
}

void QtWindow::PaintBackgrounds() {
    if (layout_.background == Background::PageGrey) {
        PaintPageGrey(*window_);
    } else {
        QPalette palette = window_->palette();
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
        window_->setPalette(palette);
        window_->setAutoFillBackground(true);
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (layout_.controls[i].style & kPageBackground) PaintPageGrey(*controls_[i]);
    }
    window_->update();
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

// On the monitor of the screen the user is in, or was in last; else the primary.
void QtWindow::CentreOnScreen() {
    const QWidget* active = QApplication::activeWindow();
    if (!active) active = lastActive;
    const QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // The whole window is centred, frame included, as far as the platform
    // knows the frame before the window is first shown; move() places the frame.
    window_->winId();
    const QWindow* handle = window_->windowHandle();
    const QMargins margins = handle ? handle->frameMargins() : QMargins();
    const QSize frame = window_->size().grownBy(margins);
    const Position at =
        OpeningPosition(frame.width(), frame.height(),
                        {available.x(), available.y(), available.width(), available.height()});
    window_->move(at.x, at.y);
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
