#pragma once

// Two small screens of the tests' own, built by the real runtime: a grey page
// without control box that exercises every control kind, style and a shuffled
// tab order, and a plain dialog with control box that overrides nothing and
// holds one grey text box on its button-face background.
#include <QApplication>
#include <QTest>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "Form.h"
#include "ProgramTest.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tolvane::test {

using namespace platform;
using enum ControlKind;

inline constexpr FontSpec kTitleFont{u"ＭＳ ゴシック", 15.6, 700};
inline constexpr FontSpec kBodyFont{u"ＭＳ Ｐゴシック", 12, 400};
inline constexpr FontSpec kHeadingFont{u"ＭＳ Ｐゴシック", 14.4, 700};

inline const FormSpec kPageLayout{
    "Page",
    u"Page",
    4500,
    3000,
    Background::PageGrey,
    false,
    {
        {Label, "Label1", {360, 120, 3315, 315}, 0, u"見出し", kAutoSize, kTitleFont},
        {TextBox, "Text1", {600, 600, 2400, 495}, 1, u"注記", kDisabled | kPageBackground},
        {CheckBox, "Check1", {600, 1320, 735, 180}, 3, u"はい"},
        {CheckBox, "Check2", {1440, 1320, 1095, 180}, 4, u"いいえ"},
        {Label, "Label2", {600, 1680, 600, 180}, 2, u"項目"},
        {Line, "Line1", {480, 1560, 4200, 1560}, -1, u""},
        {CommandButton, "Command1", {3000, 1800, 1335, 495}, 8, u"Command1"},
        {CommandButton, "Command2", {3000, 2400, 1335, 495}, 6, u"Command2"},
        {TextBox, "Text2", {600, 2040, 2295, 615}, 5, u"", kPageBackground, kBodyFont},
        {CommandButton, "Command3", {3000, 600, 1335, 495}, 7, u"Command3", kHidden},
        {Label, "Label3", {3000, 1200, 735, 375}, 9, u"Label3", kHidden},
    }};

// The focus order the page's tab indices give: labels, the disabled note box
// and the hidden button drop out.
inline const std::vector<QString> kPageFocusOrder{"Check1", "Check2", "Text2", "Command2",
                                                  "Command1"};

inline const FormSpec kDialogLayout{
    "Dialog",
    u"Dialog",
    4140,
    3036,
    Background::ButtonFace,
    true,
    {
        {CommandButton, "Command1", {1440, 2160, 1455, 495}, 0, u"OK"},
        {Label, "Label1", {360, 240, 660, 240}, 1, u"Label1", kAutoSize, kHeadingFont},
        {Label, "Label2", {360, 600, 660, 240}, 2, u"Label2"},
        {TextBox, "Text1", {360, 1080, 2400, 495}, 3, u"", kPageBackground},
    }};

// The page records what its handlers do: each counts its run, calls the
// test's action and then notes that it got to its end.
class Page final : public Form {
public:
    Page() : Form(kPageLayout) {
        for (const char* name : {"Command1", "Command2"})
            OnClick(name, [this, name] { Run(name); });
    }

    std::function<void(Page&)> onLoad;
    std::map<std::string, std::function<void(Page&)>> actions;
    std::map<std::string, int> runs;
    std::vector<std::string> finished;
    int loads = 0;
    State stateDuringLoad = State::NotLoaded;

    Runtime& Rt() { return runtime_; }

protected:
    void Form_Load() override {
        ++loads;
        stateDuringLoad = CurrentState();
        if (onLoad) onLoad(*this);
    }
    void OnCloseRequest() override { Run("CloseRequest"); }

private:
    void Run(const std::string& name) {
        ++runs[name];
        if (actions[name]) actions[name](*this);
        finished.push_back(name);
    }
};

// A screen that keeps the runtime's defaults for everything.
class Dialog final : public Form {
public:
    Dialog() : Form(kDialogLayout) {}
};

class PlatformTest : public ProgramTest {
protected:
    Page& page() { return runtime().Global<Page>(); }
    Dialog& dialog() { return runtime().Global<Dialog>(); }

    // Shows a screen through the runtime and waits until it has the keyboard.
    static void ShowActive(Form& form) {
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.Window(), 1000)) << form.Name();
    }

    static QString FocusName() {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString("(none)");
    }

    // A key typed by the user, delivered where the keyboard focus is.
    static void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "nothing has the focus";
        QTest::keyClick(focus, key, modifiers);
    }
};

} // namespace tolvane::test
