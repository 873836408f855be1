#include "Form1.h"

#include "CheckErrorDialogs.h"
#include "Form2.h"
#include "PageCheck.h"
#include "Screens.h"
#include "SourceNote.h"

namespace tolvane::screens {
namespace {

using enum platform::ControlKind;
using platform::kAutoSize;
using platform::kDisabled;
using platform::kHidden;
using platform::kPageBackground;

constexpr std::u16string_view kTitle = u"安全運転自己診断－１";

const platform::FormSpec& Form1Layout() {
    static const platform::FormSpec layout = [] {
        platform::FormSpec form{"Form1", u"Form1", 10404, 7464, platform::Background::PageGrey,
                                false, {}};
        auto& c = form.controls;
        c.push_back({Label, "Label1", {360, 120, 3315, 315}, 0, std::u16string(kTitle), kAutoSize, kPageTitleFont});
        c.push_back({TextBox, "Text1", {600, 600, 5775, 495}, 1, std::u16string(kSourceNote) + u"\r\n", kDisabled | kPageBackground});
        AppendItemRows(1, c);
        c.push_back({CommandButton, "Command1", {8520, 5040, 1335, 495}, 8, u"Command1"});
        c.push_back({CommandButton, "Command2", {8520, 5760, 1335, 495}, 9, u"Command2"});
        c.push_back({CommandButton, "Command3", {8520, 6480, 1335, 495}, 52, u"Command3"});
        c.push_back({Label, "Label25", {5160, 7200, 1035, 180}, 61, u"by Zenth 2000"});
        // Hidden from the start and never shown.
        c.push_back({CommandButton, "Command4", {8400, 720, 1335, 495}, 57, u"Command4", kHidden});
        c.push_back({Label, "Label22", {8760, 1680, 735, 375}, 58, u"Label22", kHidden});
        c.push_back({Label, "Label23", {8760, 2160, 855, 375}, 59, u"Label23", kHidden});
        c.push_back({Label, "Label24", {8760, 2760, 855, 375}, 60, u"Label24", kHidden});
        c.push_back({Label, "Label19", {120, 1680, 255, 255}, 54, u"A", kHidden});
        c.push_back({Label, "Label20", {120, 3120, 255, 255}, 55, u"B", kHidden});
        c.push_back({Label, "Label21", {120, 4920, 255, 255}, 56, u"C", kHidden});
        c.push_back({Label, "Label18", {8640, 7200, 1272, 180}, 53, u"by Quorvel,  2000", kHidden | kAutoSize});
        c.push_back({Line, "Line1", {480, 1560, 9720, 1560}, -1, u"", kHidden});
        c.push_back({Line, "Line2", {480, 3000, 9720, 3000}, -1, u"", kHidden});
        c.push_back({Line, "Line3", {480, 4440, 9720, 4440}, -1, u"", kHidden});
        c.push_back({Line, "Line4", {480, 4800, 9720, 4800}, -1, u"", kHidden});
        c.push_back({Line, "Line5", {480, 6600, 8160, 6600}, -1, u"", kHidden});
        return form;
    }();
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
