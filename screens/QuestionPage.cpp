#include "QuestionPage.h"

#include <array>
#include <string>

#include "ItemCatalogue.h"
#include "Screens.h"
#include "SourceNote.h"

namespace tolvane::screens {
namespace {

using platform::ControlKind;
using platform::ControlSpec;

struct ItemRow {
    int labelWidth, yesWidth, noWidth;
    int labelTab, yesTab, noTab;
};

// Row k holds item k of the page; the widths and tab indices are the same on
// both pages. The tab indices send the focus from the first two items to the
// next and cancel buttons before the third item.
constexpr std::array<ItemRow, logic::kItemsPerPage> kItemRows{{
    {5055, 735, 1095, 2, 3, 4},
    {5055, 975, 975, 5, 6, 7},
    {5055, 975, 975, 10, 11, 12},
    {5055, 975, 1095, 13, 14, 15},
    {5055, 975, 1215, 16, 17, 18},
    {5085, 1095, 1455, 19, 24, 25},
    {5070, 1095, 1215, 20, 26, 27},
    {5070, 1095, 1335, 21, 28, 29},
    {5070, 975, 1215, 22, 30, 31},
    {5055, 1095, 1095, 23, 32, 33},
    {5070, 1095, 1095, 34, 35, 36},
    {5055, 1095, 1095, 37, 38, 39},
    {5055, 1095, 975, 40, 41, 42},
    {5055, 1095, 975, 43, 44, 45},
    {5055, 1095, 1095, 46, 48, 49},
    {5070, 1095, 1095, 47, 50, 51},
}};

constexpr int kFirstRowTop = 1320;
constexpr int kRowPitch = 360;
constexpr int kRowHeight = 180;
constexpr int kLabelLeft = 600;
constexpr int kYesLeft = 5760;
constexpr int kNoLeft = 6840;

constexpr platform::FontSpec kPageTitleFont{u"ＭＳ ゴシック", 15.6, 700};

constexpr std::u16string_view kYes = u"はい";
constexpr std::u16string_view kNo = u"いいえ";

std::u16string ToU16(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

// Tells the 32 "はい" boxes apart for a screen reader: "項目１：statement　回答：はい".
std::u16string Describe(int item, std::u16string_view answer) {
    std::u16string number;
    if (item >= 10) number += static_cast<char16_t>(u'０' + item / 10);
    number += static_cast<char16_t>(u'０' + item % 10);
    return u"項目" + number + u"：" + std::u16string(logic::ItemStatement(item)) + u"　回答：" +
           std::u16string(answer);
}

void AppendItemRows(int page, std::vector<ControlSpec>& controls) {
    for (int k = 1; k <= logic::kItemsPerPage; ++k) {
        const ItemRow& row = kItemRows[static_cast<std::size_t>(k - 1)];
        const int top = kFirstRowTop + kRowPitch * (k - 1);
        const int item = logic::ItemAt(page, k);
        // Before load the boxes of the first row read as they will, the others their names.
        const auto box = [&](int number, int left, int width, int tab, std::u16string_view answer) {
            const std::string name = "Check" + std::to_string(number);
            controls.push_back({ControlKind::CheckBox,
                                name,
                                {left, top, width, kRowHeight},
                                tab,
                                k == 1 ? std::u16string(answer) : ToU16(name),
                                platform::kPlain,
                                std::nullopt,
                                Describe(item, answer)});
        };
        controls.push_back({ControlKind::Label,
                            "Label" + std::to_string(logic::ItemLabel(k)),
                            {kLabelLeft, top, row.labelWidth, kRowHeight},
                            row.labelTab,
                            std::u16string(logic::ItemStatement(item))});
        box(logic::YesBox(k), kYesLeft, row.yesWidth, row.yesTab, kYes);
        box(logic::NoBox(k), kNoLeft, row.noWidth, row.noTab, kNo);
    }
}

} // namespace

platform::FormSpec QuestionPageLayout(int page, std::u16string_view title,
                                      std::vector<ControlSpec> own) {
    const std::string name = "Form" + std::to_string(page);
    platform::FormSpec form{name,  ToU16(name), 10404, 7464, platform::Background::PageGrey,
                            false, {}};
    auto& c = form.controls;
    c.push_back({ControlKind::Label,
                 "Label1",
                 {360, 120, 3315, 315},
                 0,
                 std::u16string(title),
                 platform::kAutoSize,
                 kPageTitleFont});
    c.push_back({ControlKind::TextBox,
                 "Text1",
                 {600, 600, 5775, 495},
                 1,
                 std::u16string(kSourceNote) + u"\r\n",
                 platform::kDisabled | platform::kPageBackground,
                 std::nullopt,
                 u"この診断について"});
    AppendItemRows(page, c);
    c.push_back({ControlKind::CommandButton, "Command1", {8520, 5040, 1335, 495}, 8, u"Command1"});
    c.insert(c.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    return form;
}

QuestionPage::QuestionPage(int page, const platform::FormSpec& layout, PageTexts texts)
    : Form(layout), page_(page), texts_(texts) {}

void QuestionPage::Form_Load() {
    Label(1).SetCaption(texts_.title);
    SetCaption(texts_.title);
    Text(1).SetText(kSourceNote);
    for (int k = 1; k <= logic::kItemsPerPage; ++k) {
        Label(logic::ItemLabel(k)).SetCaption(logic::ItemCaption(logic::ItemAt(page_, k)));
        Check(logic::YesBox(k)).SetCaption(kYes);
        Check(logic::NoBox(k)).SetCaption(kNo);
    }
    Command(1).SetCaption(texts_.command1);
    Command(2).SetCaption(u"キャンセル");
    Command(3).SetCaption(texts_.command3);
}

void QuestionPage::ReadOutScores() {
    logic::ReadOutScores(Answers(), Module1());
    const logic::DiagnosisState& state = Module1();
    const auto decimal = [](logic::Int16 score) { return ToU16(std::to_string(score)); };
    Label(22).SetCaption(decimal(state.roughness));
    Label(23).SetCaption(decimal(state.irritation));
    Label(24).SetCaption(decimal(state.hesitation));
}

void QuestionPage::OnCloseRequest() { runtime_.End(); }

} // namespace tolvane::screens
