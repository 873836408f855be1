#include "ResultScreens.h"

#include <array>
#include <optional>

#include "Form1.h"
#include "Form2.h"
#include "ResultParagraphs.h"
#include "Screens.h"

namespace tolvane::screens {
namespace {

using enum platform::ControlKind;
using logic::ResultType;
using platform::kAutoSize;
using platform::kPageBackground;

constexpr std::u16string_view kHeading = u"安全運転診断結果";
constexpr std::u16string_view kTypeNote = u"２つ以上のタイプにあてはまるときがあります．";

constexpr platform::FontSpec kHeadingFont{u"ＭＳ Ｐゴシック", 14.4, 700};
constexpr platform::FontSpec kFindingFont{u"ＭＳ Ｐゴシック", 12.0, 400};

// Top and height of a paragraph box, in twips.
struct Rows {
    int top, height;
};

// The boxes lie in number order, so that where two overlap the later one is
// in front. Text1 is narrower than the rest and carries the finding's font.
platform::FormSpec ResultLayout(std::string name, std::u16string caption,
                                std::span<const Rows> boxes,
                                std::span<const std::u16string_view> paragraphs,
                                bool headingAutoSizes, int headingTab = 7) {
    platform::FormSpec form{
        std::move(name), std::move(caption), 6780, 5928, platform::Background::PageGrey, false, {}};
    auto& c = form.controls;
    constexpr std::array kBoxTabs{0, 1, 3, 4, 6};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const bool first = i == 0;
        const std::u16string text = i < paragraphs.size() ? std::u16string(paragraphs[i]) : u"";
        c.push_back({TextBox,
                     "Text" + std::to_string(i + 1),
                     {480, boxes[i].top, first ? 5775 : 5895, boxes[i].height},
                     kBoxTabs[i],
                     text,
                     kPageBackground,
                     first ? std::optional(kFindingFont) : std::nullopt,
                     u"診断結果の説明　" + std::u16string(1, char16_t(u'１' + i))});
    }
    c.push_back({Label,
                 "Label2",
                 {480, 360, 2415, 285},
                 headingTab,
                 std::u16string(kHeading),
                 headingAutoSizes ? kAutoSize : platform::kPlain,
                 kHeadingFont});
    c.push_back(
        {Label, "Label1", {1800, 4680, 3495, 180}, 5, std::u16string(kTypeNote), kAutoSize});
    c.push_back({CommandButton, "Command1", {2520, 5040, 1935, 495}, 2, u"Command1"});
    return form;
}

} // namespace

platform::Form& ResultScreenOf(ResultType type) {
    switch (type) {
    case ResultType::A: return The<Form5>();
    case ResultType::B: return The<Form6>();
    case ResultType::C: return The<Form7>();
    case ResultType::D: return The<Form8>();
    case ResultType::E: return The<Form9>();
    }
    return The<Form9>();
}

ResultScreen::ResultScreen(ResultType type, const platform::FormSpec& layout,
                           std::span<const std::u16string_view> paragraphs)
    : Form(layout), type_(type), paragraphs_(paragraphs) {
    OnClick("Command1", [this] { Command1_Click(); });
}

// Runs once per program run: a later diagnosis shows the screen as the user
// left it, and does not move the focus.
void ResultScreen::Form_Load() {
    Label(2).SetCaption(kHeading);
    for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
        Text(static_cast<int>(i) + 1).SetText(paragraphs_[i]);
    }
    if (type_ == ResultType::D) Text(5).SetText(u"");
    Label(1).SetCaption(kTypeNote);
    Command(1).SetCaption(u"次へ");
    Show();
    Command(1).SetFocus();
}

void ResultScreen::Command1_Click() {
    if (const auto next = logic::NextFlaggedType(Module1(), type_)) {
        Hide();
        ResultScreenOf(*next).Show();
        return;
    }
    Hide();
    The<Form2>().Hide();
    The<Form1>().Show();
}

const platform::FormSpec& Form5::Layout() {
    static constexpr std::array<Rows, 4> kBoxes{
        {{1080, 615}, {1920, 915}, {2760, 615}, {3480, 735}}};
    static const auto layout =
        ResultLayout("Form5", u"あなたはＡタイプ", kBoxes, paragraphs::kTypeA, true, 6);
    return layout;
}
Form5::Form5() : ResultScreen(ResultType::A, Layout(), paragraphs::kTypeA) {}

const platform::FormSpec& Form6::Layout() {
    static constexpr std::array<Rows, 5> kBoxes{
        {{1080, 615}, {1920, 915}, {2520, 495}, {3000, 495}, {3480, 735}}};
    static const auto layout =
        ResultLayout("Form6", u"あなたはＢタイプ", kBoxes, paragraphs::kTypeB, true);
    return layout;
}
Form6::Form6() : ResultScreen(ResultType::B, Layout(), paragraphs::kTypeB) {}

// Text3 stands above Text2 on this screen.
const platform::FormSpec& Form7::Layout() {
    static constexpr std::array<Rows, 5> kBoxes{
        {{1080, 615}, {2760, 495}, {1920, 735}, {3240, 975}, {4080, 255}}};
    static const auto layout =
        ResultLayout("Form7", u"あなたはＣタイプ", kBoxes, paragraphs::kTypeC, false);
    return layout;
}
Form7::Form7() : ResultScreen(ResultType::C, Layout(), paragraphs::kTypeC) {}

const platform::FormSpec& Form8::Layout() {
    static constexpr std::array<Rows, 5> kBoxes{
        {{960, 615}, {1800, 615}, {2280, 975}, {3120, 495}, {4080, 255}}};
    static const auto layout =
        ResultLayout("Form8", u"あなたはＤタイプ", kBoxes, paragraphs::kTypeD, false);
    return layout;
}
Form8::Form8() : ResultScreen(ResultType::D, Layout(), paragraphs::kTypeD) {}

const platform::FormSpec& Form9::Layout() {
    static constexpr std::array<Rows, 5> kBoxes{
        {{960, 615}, {1800, 495}, {2280, 735}, {3000, 735}, {4200, 255}}};
    static const auto layout =
        ResultLayout("Form9", u"あなたはＥタイプ", kBoxes, paragraphs::kTypeE, false);
    return layout;
}
Form9::Form9() : ResultScreen(ResultType::E, Layout(), paragraphs::kTypeE) {}

} // namespace tolvane::screens
