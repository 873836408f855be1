#pragma once

#include "QuestionPage.h"

namespace tolvane::screens {

// Question page 1, items 1 to 16: the screen the program starts on.
class Form1 final : public QuestionPage {
public:
    Form1();

    void Command1_Click(); // next
    void Command2_Click(); // cancel
    void Command3_Click(); // exit
    void Command4_Click(); // score readout, hidden

    static const platform::FormSpec& Layout();
};

} // namespace tolvane::screens
