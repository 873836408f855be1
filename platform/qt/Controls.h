#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextEdit>

#include "Layout.h"

// The controls of the forms runtime, as Qt widgets that behave the way users of
// classic fixed-layout forms expect.
namespace tolvane::platform {

class Label final : public QLabel {
public:
    Label(QWidget* parent, const ControlSpec& design);
    void SetCaption(const QString& caption);
    // Takes the size the caption asks for, as the label's design says.
    void Fit();

private:
    const ControlSpec& design_;
};

// Toggles on a click anywhere in its box; a click never leaves it grayed.
class CheckBox final : public QCheckBox {
public:
    explicit CheckBox(QWidget* parent);

protected:
    bool hitButton(const QPoint& pos) const override;
    void nextCheckState() override;
    // Drawn by hand so that the box fits rows as low as the 12-pixel item rows.
    void paintEvent(QPaintEvent* event) override;
};

// Enter presses the button only when it has the focus, like Space does.
class CommandButton final : public QPushButton {
public:
    explicit CommandButton(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Multi-line, wrapping at its width, no border, no scroll bars; Tab moves on
// to the next control instead of typing a tab. Lines stand one font height
// apart, as the layouts were drawn for, not at the font's wider line spacing.
class TextBox final : public QTextEdit {
public:
    explicit TextBox(QWidget* parent);
    void SetText(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBlockFormat Lines() const;
    void FitLinesToFont();
};

class Line final : public QWidget {
public:
    Line(QWidget* parent, QLine line);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLine line_;
};

} // namespace tolvane::platform
