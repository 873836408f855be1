#include "CheckErrorDialogs.h"

#include "Form1.h"
#include "Form2.h"
#include "Screens.h"

namespace tolvane::screens {
namespace {

using enum platform::ControlKind;
using platform::kAutoSize;

constexpr platform::FontSpec kLineFont{u"ＭＳ Ｐゴシック", 12.0, 400};

constexpr std::u16string_view kLine1 = u"チェックが重複しているか，";
constexpr std::u16string_view kLine2 = u"不足しているか，しています．";
constexpr std::u16string_view kLine3 = u"確認して下さい．";

platform::Form& Page1() { return The<Form1>(); }
platform::Form& Page2() { return The<Form2>(); }

platform::FormSpec DialogWindow(std::string name) {
    std::u16string caption(name.begin(), name.end());
    return {std::move(name),
            std::move(caption),
            4140,
            3036,
            platform::Background::ButtonFace,
            true,
            {}};
}

const platform::FormSpec& Form3Layout() {
    static const platform::FormSpec layout = [] {
        platform::FormSpec form = DialogWindow("Form3");
        auto& c = form.controls;
        c.push_back({CommandButton, "Command1", {1440, 2160, 1455, 495}, 0, u"Command1"});
        c.push_back({Label,
                     "Label1",
                     {480, 360, 2730, 240},
                     1,
                     std::u16string(kLine1),
                     platform::kPlain,
                     kLineFont});
        c.push_back({Label,
                     "Label2",
                     {480, 720, 2925, 240},
                     2,
                     std::u16string(kLine2),
                     platform::kPlain,
                     kLineFont});
        c.push_back({Label,
                     "Label3",
                     {480, 1080, 1680, 240},
                     3,
                     std::u16string(kLine3),
                     platform::kPlain,
                     kLineFont});
        return form;
    }();
    return layout;
}

// Its lines start higher and further left, and widen to their text at load.
const platform::FormSpec& Form4Layout() {
    static const platform::FormSpec layout = [] {
        platform::FormSpec form = DialogWindow("Form4");
        auto& c = form.controls;
        c.push_back({CommandButton, "Command1", {1440, 2160, 1455, 495}, 0, u"Command1"});
        c.push_back({Label, "Label1", {360, 240, 660, 240}, 1, u"Label1", kAutoSize, kLineFont});
        c.push_back({Label, "Label2", {360, 600, 660, 240}, 2, u"Label2", kAutoSize, kLineFont});
        c.push_back({Label, "Label3", {360, 960, 660, 240}, 3, u"Label3", kAutoSize, kLineFont});
        return form;
    }();
    return layout;
}

} // namespace

CheckErrorDialog::CheckErrorDialog(const platform::FormSpec& layout, platform::Form& (*page)())
    : Form(layout), page_(page) {
    OnClick("Command1", [this] { Command1_Click(); });
}

void CheckErrorDialog::Form_Load() {
    Label(1).SetCaption(kLine1);
    Label(2).SetCaption(kLine2);
    Label(3).SetCaption(kLine3);
    Command(1).SetCaption(u"OK");
}

void CheckErrorDialog::Command1_Click() {
    Hide();
    page_().Show();
}

const platform::FormSpec& Form3::Layout() { return Form3Layout(); }

Form3::Form3() : CheckErrorDialog(Layout(), &Page1) {}

const platform::FormSpec& Form4::Layout() { return Form4Layout(); }

Form4::Form4() : CheckErrorDialog(Layout(), &Page2) {}

} // namespace tolvane::screens
