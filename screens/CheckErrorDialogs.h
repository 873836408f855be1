#pragma once

#include "Form.h"

namespace tolvane::screens {

// Opened over a question page that failed its check: three lines asking the
// user to look for a doubled or missing tick, and OK back to the page.
class CheckErrorDialog : public platform::Form {
public:
    void Command1_Click(); // OK

protected:
    CheckErrorDialog(const platform::FormSpec& layout, platform::Form& (*page)());

    void Form_Load() override;
    // Closing the dialog from its frame is the same as OK.
    void OnCloseRequest() override { Command1_Click(); }

private:
    platform::Form& (*page_)();
};

// The dialog of page 1.
class Form3 final : public CheckErrorDialog {
public:
    Form3();
    static const platform::FormSpec& Layout();
};

// The dialog of page 2.
class Form4 final : public CheckErrorDialog {
public:
    Form4();
    static const platform::FormSpec& Layout();
};

} // namespace tolvane::screens
