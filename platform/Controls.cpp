#include "Controls.h"

#include <QKeyEvent>
#include <QPainter>

namespace tolvane::platform {

Label::Label(QWidget* parent, bool autoSize) : QLabel(parent), autoSize_(autoSize) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(false);
}

void Label::SetCaption(const QString& caption) {
    setText(caption);
    if (autoSize_) resize(sizeHint());
}

CheckBox::CheckBox(QWidget* parent) : QCheckBox(parent) {}

bool CheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void CheckBox::nextCheckState() {
    // A grayed box can only be set by the program; a click makes it ticked.
    const bool tick = checkState() != Qt::Checked;
    setTristate(false);
    setCheckState(tick ? Qt::Checked : Qt::Unchecked);
}

CommandButton::CommandButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    document()->setDocumentMargin(1);
}

Line::Line(QWidget* parent, QLine line) : QWidget(parent), line_(line) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(line_.translated(-pos()));
}

} // namespace tolvane::platform
