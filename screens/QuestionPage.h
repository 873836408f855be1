#pragma once

#include <string_view>

#include "Form.h"

namespace tolvane::screens {

// What sets the two question pages apart.
struct PageTexts {
    std::u16string_view title;    // window and Label1
    std::u16string_view command1; // next or diagnose
    std::u16string_view command3; // exit or back
};

// A page of sixteen items, each with a yes box and a no box. The answers live
// in its check boxes and nowhere else.
class QuestionPage : public platform::Form {
protected:
    QuestionPage(int page, const platform::FormSpec& layout, PageTexts texts);

    void Form_Load() override;
    // The hidden readout button: the three scores into this page's Label22 to Label24.
    void ReadOutScores();
    // The page has no close button; a close request from the frame cancels.
    void OnCloseRequest() override;

private:
    int page_;
    PageTexts texts_;
};

// The item rows of a page, in twips as laid out.
void AppendItemRows(int page, std::vector<platform::ControlSpec>& controls);

inline constexpr platform::FontSpec kPageTitleFont{u"ＭＳ ゴシック", 15.6, 700};

} // namespace tolvane::screens
