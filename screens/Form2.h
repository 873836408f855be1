#pragma once

#include "QuestionPage.h"

namespace tolvane::screens {

// Question page 2, items 17 to 32, with the diagnose button.
class Form2 final : public QuestionPage {
public:
    Form2();

    void Command1_Click(); // diagnose
    void Command2_Click(); // cancel
    void Command3_Click(); // back
    void Command4_Click(); // score readout, hidden

    static const platform::FormSpec& Layout();
};

} // namespace tolvane::screens
