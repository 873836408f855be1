#include "Form2.h"

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "PageCheck.h"
#include "Screens.h"

namespace tolvane::screens {
namespace {

using enum platform::ControlKind;
using platform::kGrowToFit;
using platform::kHidden;

constexpr std::u16string_view kTitle = u"安全運転自己診断－２";

const platform::FormSpec& Form2Layout() {
    static const platform::FormSpec layout = QuestionPageLayout(
        2, kTitle,
        {
            // The back button stands above the cancel button on this page.
            {CommandButton, "Command2", {8520, 6480, 1335, 495}, 9, u"Command2"},
            {CommandButton, "Command3", {8520, 5760, 1335, 495}, 52, u"Command3"},
            // Credit lines grow to show their Latin text whole in the stand-in face.
            {Label, "Label18", {8640, 7080, 1275, 180}, 53, u"by Quorvel. 2000", kGrowToFit},
            // Hidden from the start and never shown.
            {CommandButton, "Command4", {8520, 720, 1215, 495}, 57, u"Command4", kHidden},
            {Label, "Label22", {8520, 1440, 1215, 375}, 58, u"Label22", kHidden},
            {Label, "Label23", {8520, 2040, 1215, 375}, 59, u"Label23", kHidden},
            {Label, "Label24", {8640, 2640, 1095, 495}, 60, u"Label24", kHidden},
            {Label, "Label19", {120, 1320, 255, 255}, 54, u"A", kHidden},
            {Label, "Label20", {120, 3480, 375, 255}, 55, u"B", kHidden},
            {Label, "Label21", {120, 5280, 255, 255}, 56, u"C", kHidden},
            {Label, "Label25", {5400, 7080, 1035, 180}, 61, u"by Zenth 2000", kHidden | kGrowToFit},
            {Line, "Line2", {480, 3360, 9600, 3360}, -1, u"", kHidden},
            {Line, "Line3", {480, 4800, 9600, 4800}, -1, u"", kHidden},
            {Line, "Line1", {480, 5160, 8280, 5160}, -1, u"", kHidden},
            {Line, "Line4", {480, 6600, 8280, 6600}, -1, u"", kHidden},
        });
    return layout;
}

} // namespace

const platform::FormSpec& Form2::Layout() { return Form2Layout(); }

Form2::Form2() : QuestionPage(2, Layout(), {kTitle, u"診断", u"戻る"}) {
    OnClick("Command1", [this] { Command1_Click(); });
    OnClick("Command2", [this] { Command2_Click(); });
    OnClick("Command3", [this] { Command3_Click(); });
    OnClick("Command4", [this] { Command4_Click(); });
}

void Form2::Command1_Click() {
    if (logic::CheckPage(Answers(), 2) == logic::PageCheckResult::Fail) {
        The<Form4>().Show();
        return;
    }
    // Page 1 passed when the user left it, but its dialog's OK can bring it
    // back beside this page, where a tick can be doubled or lost again.
    if (logic::CheckPage(Answers(), 1) == logic::PageCheckResult::Fail) {
        The<Form3>().Show();
        return;
    }
    logic::Diagnose(Answers(), Module1());
    KeepDiagnosis();
    Hide();
    ResultScreenOf(logic::NextFlaggedType(Module1(), std::nullopt).value()).Show();
}

void Form2::Command2_Click() { runtime_.End(); }

void Form2::Command3_Click() {
    Hide();
    The<Form1>().Show();
}

void Form2::Command4_Click() { ReadOutScores(); }

} // namespace tolvane::screens
