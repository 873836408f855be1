#include "Form1.h"

#include "CheckErrorDialogs.h"
#include "Form2.h"
#include "PageCheck.h"
#include "Screens.h"

namespace tolvane::screens {
namespace {

using enum platform::ControlKind;
using platform::kAutoSize;
using platform::kGrowToFit;
using platform::kHidden;

constexpr std::u16string_view kTitle = u"安全運転自己診断－１";

const platform::FormSpec& Form1Layout() {
    static const platform::FormSpec layout = QuestionPageLayout(
        1, kTitle,
        {
            {CommandButton, "Command2", {8520, 5760, 1335, 495}, 9, u"Command2"},
            {CommandButton, "Command3", {8520, 6480, 1335, 495}, 52, u"Command3"},
            // Credit lines grow to show their Latin text whole in the stand-in face.
            {Label, "Label25", {5160, 7200, 1035, 180}, 61, u"by Zenth 2000", kGrowToFit},
            // Hidden from the start and never shown.
            {CommandButton, "Command4", {8400, 720, 1335, 495}, 57, u"Command4", kHidden},
            {Label, "Label22", {8760, 1680, 735, 375}, 58, u"Label22", kHidden},
            {Label, "Label23", {8760, 2160, 855, 375}, 59, u"Label23", kHidden},
            {Label, "Label24", {8760, 2760, 855, 375}, 60, u"Label24", kHidden},
            {Label, "Label19", {120, 1680, 255, 255}, 54, u"A", kHidden},
            {Label, "Label20", {120, 3120, 255, 255}, 55, u"B", kHidden},
            {Label, "Label21", {120, 4920, 255, 255}, 56, u"C", kHidden},
            {Label,
             "Label18",
             {8640, 7200, 1272, 180},
             53,
             u"by Quorvel,  2000",
             kHidden | kAutoSize},
            {Line, "Line1", {480, 1560, 9720, 1560}, -1, u"", kHidden},
            {Line, "Line2", {480, 3000, 9720, 3000}, -1, u"", kHidden},
            {Line, "Line3", {480, 4440, 9720, 4440}, -1, u"", kHidden},
            {Line, "Line4", {480, 4800, 9720, 4800}, -1, u"", kHidden},
            {Line, "Line5", {480, 6600, 8160, 6600}, -1, u"", kHidden},
        });
    return layout;
}

} // namespace

const platform::FormSpec& Form1::Layout() { return Form1Layout(); }

Form1::Form1() : QuestionPage(1, Layout(), {kTitle, u"次へ", u"終了"}) {
    OnClick("Command1", [this] { Command1_Click(); });
    OnClick("Command2", [this] { Command2_Click(); });
    OnClick("Command3", [this] { Command3_Click(); });
    OnClick("Command4", [this] { Command4_Click(); });
}

void Form1::Command1_Click() {
    if (logic::CheckPage(Answers(), 1) == logic::PageCheckResult::Fail) {
        The<Form3>().Show();
        return;
    }
    Hide();
    The<Form2>().Show();
}

void Form1::Command2_Click() { runtime_.End(); }

void Form1::Command3_Click() { runtime_.End(); }

void Form1::Command4_Click() { ReadOutScores(); }

} // namespace tolvane::screens
