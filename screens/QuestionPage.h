#pragma once

#include <string_view>
#include <vector>

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

// A page's layout: the window and the controls both pages share (title,
// source note, the sixteen item rows, the next or diagnose button), then the
// page's own controls.
platform::FormSpec QuestionPageLayout(int page, std::u16string_view title,
                                      std::vector<platform::ControlSpec> own);

} // namespace tolvane::screens
