#include "Controls.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "FormRules.h"

namespace tolvane::platform {

Label::Label(QWidget* parent, const ControlSpec& design) : QLabel(parent), design_(design) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(false);
}

void Label::SetCaption(const QString& caption) {
    setText(caption);
    Fit();
}

void Label::Fit() {
    // Laying a caption out costs: only a label that sizes itself measures it.
    const QSize caption = design_.style & (kAutoSize | kGrowToFit) ? sizeHint() : QSize();
    const PixelSize size =
        LabelSize(design_, {width(), height()},
                  {caption.width(), std::max(caption.height(), fontMetrics().height())});
    resize(size.width, size.height);
}

CheckBox::CheckBox(QWidget* parent) : QCheckBox(parent) {}

bool CheckBox::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void CheckBox::nextCheckState() {
    const CheckState now = checkState() == Qt::Checked     ? CheckState::Checked
                           : checkState() == Qt::Unchecked ? CheckState::Unchecked
                                                           : CheckState::Grayed;
    setTristate(false);
    setCheckState(AfterClick(now) == CheckState::Checked ? Qt::Checked : Qt::Unchecked);
}

void CheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    const int side = std::min(13, height() - 1);
    const QRect box(0, (height() - side) / 2, side, side);
    const bool grayed = checkState() == Qt::PartiallyChecked;
    painter.fillRect(box, isDown() || grayed ? colours.color(QPalette::Button)
                                             : colours.color(QPalette::Base));
    painter.setPen(colours.color(QPalette::Shadow));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (checkState() != Qt::Unchecked) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPen tick(colours.color(grayed ? QPalette::Mid : QPalette::Text), side / 6.0);
        painter.setPen(tick);
        const QPointF o = box.topLeft();
        const double s = side;
        const QPointF mark[] = {o + QPointF(0.22 * s, 0.5 * s), o + QPointF(0.42 * s, 0.72 * s),
                                o + QPointF(0.8 * s, 0.28 * s)};
        painter.drawPolyline(mark, 3);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    const QRect textArea = rect().adjusted(side + 4, 0, 0, 0);
    painter.setPen(colours.color(foregroundRole()));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textArea, Qt::AlignLeft | Qt::AlignVCenter, text())
                         .adjusted(-1, 0, 1, 0)
                         .intersected(rect());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

CommandButton::CommandButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    // The keypad's Enter comes with the keypad modifier and counts as Enter too.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const Qt::KeyboardModifiers held = event->modifiers();
        const KeyPress press{Key::Enter, bool(held & Qt::ShiftModifier),
                             bool(held & Qt::ControlModifier), bool(held & Qt::AltModifier),
                             event->isAutoRepeat()};
        switch (KeyRule(press, ControlKind::CommandButton)) {
        case KeyAction::Press: click(); return;
        case KeyAction::Swallow: return;
        default: break;
        }
    }
    QPushButton::keyPressEvent(event);
}

TextBox::TextBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    document()->setDocumentMargin(1);
}

void TextBox::SetText(const QString& text) {
    // A load step writing what the layout already holds lays nothing out again.
    if (!document()->isEmpty() && toPlainText() == text) return;
    // The lines take their height as the text goes in: one layout, not two.
    document()->clear();
    QTextCursor cursor(document());
    cursor.setBlockFormat(Lines());
    cursor.insertText(text);
    setTextCursor(QTextCursor(document()));
    document()->clearUndoRedoStacks();
}

void TextBox::changeEvent(QEvent* event) {
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) FitLinesToFont();
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    // Every Return starts a new line. Left to Qt, a Return on an empty line
    // that carries a line format (ours: the fixed line height) only clears
    // that format, so the second of two Returns would seem lost.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !isReadOnly()) {
        QTextCursor cursor = textCursor();
        cursor.insertBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

QTextBlockFormat TextBox::Lines() const {
    QTextBlockFormat lines;
    lines.setLineHeight(QFontInfo(font()).pixelSize(), QTextBlockFormat::FixedHeight);
    return lines;
}

void TextBox::FitLinesToFont() {
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(Lines());
    // Spacing is layout, not an edit the user could undo.
    document()->clearUndoRedoStacks();
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
