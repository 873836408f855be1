#include "LayoutBuilder.h"

#include <QApplication>
#include <QCloseEvent>
#include <algorithm>

#include "Controls.h"
#include "Fonts.h"
#include "Twips.h"

namespace tolvane::platform {
namespace {

const QColor kPageGreyColour(kPageGrey, kPageGrey, kPageGrey);
const QColor kDisabledTextColour(109, 109, 109);

// Labels and check boxes are opaque, in the system's button colours.
void PaintButtonFace(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::ButtonText));
    widget.setPalette(palette);
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
        auto* label = new Label(parent, design.style & kAutoSize);
        PaintButtonFace(*label);
        label->SetCaption(caption);
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
        const QLine line(TwipsToPixels(design.box.left), TwipsToPixels(design.box.top),
                         TwipsToPixels(design.box.width), TwipsToPixels(design.box.height));
        return new Line(parent, line);
    }
    }
    return nullptr;
}

void Place(const ControlSpec& design, QWidget& widget) {
    if (design.kind == ControlKind::Line) {
        const auto& b = design.box;
        const QRect r = QRect(QPoint(TwipsToPixels(b.left), TwipsToPixels(b.top)),
                              QPoint(TwipsToPixels(b.width), TwipsToPixels(b.height)))
                            .normalized();
        widget.setGeometry(r.adjusted(0, 0, 1, 1));
        return;
    }
    const QRect r =
        TwipsToPixels(design.box.left, design.box.top, design.box.width, design.box.height);
    widget.move(r.topLeft());
    // An auto-sized label has already taken its caption's size.
    if (!(design.kind == ControlKind::Label && (design.style & kAutoSize))) widget.resize(r.size());
}

bool TakesFocus(const ControlSpec& design) {
    return design.tabIndex >= 0 && !(design.style & (kHidden | kDisabled)) &&
           (design.kind == ControlKind::CheckBox || design.kind == ControlKind::CommandButton ||
            design.kind == ControlKind::TextBox);
}

} // namespace

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (onCloseRequest_) onCloseRequest_();
}

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

BuiltForm BuildForm(const FormSpec& layout) {
    BuiltForm built;
    built.window = std::make_unique<FormWindow>();
    FormWindow& window = *built.window;
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

    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlSpec& control : layout.controls) {
        QWidget* widget = CreateControl(control, &window);
        widget->setObjectName(QString::fromStdString(control.name));
        if (control.font) {
            widget->setFont(MakeFont(*control.font));
            // Fonts change an auto-sized label's size: take it again.
            if (auto* label = dynamic_cast<Label*>(widget)) label->SetCaption(label->text());
        }
        Place(control, *widget);
        if (!control.description.empty())
            widget->setAccessibleDescription(ToQString(control.description));
        widget->setEnabled(!(control.style & kDisabled));
        widget->setVisible(!(control.style & kHidden));
        if (TakesFocus(control)) {
            tabOrder.emplace_back(control.tabIndex, widget);
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        built.controls.push_back({&control, widget});
    }

    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }
    if (!tabOrder.empty()) built.firstInTabOrder = tabOrder.front().second;
    return built;
}

} // namespace tolvane::platform
