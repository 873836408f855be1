#pragma once

#include <span>
#include <string_view>

#include "Diagnosis.h"
#include "Form.h"

namespace tolvane::screens {

// One screen per result type: a heading, the paragraphs of its finding and
// advice, a note that several types can apply, and "次へ" along the chain.
class ResultScreen : public platform::Form {
public:
    void Command1_Click(); // next in the chain, or back to page 1

protected:
    ResultScreen(logic::ResultType type, const platform::FormSpec& layout,
                 std::span<const std::u16string_view> paragraphs);

    void Form_Load() override;
    // The screen offers "次へ" instead of a close button; a close request
    // from the frame is refused.
    void OnCloseRequest() override {}

private:
    logic::ResultType type_;
    std::span<const std::u16string_view> paragraphs_;
};

class Form5 final : public ResultScreen {
public:
    Form5();
    static const platform::FormSpec& Layout();
};

class Form6 final : public ResultScreen {
public:
    Form6();
    static const platform::FormSpec& Layout();
};

class Form7 final : public ResultScreen {
public:
    Form7();
    static const platform::FormSpec& Layout();
};

class Form8 final : public ResultScreen {
public:
    Form8();
    static const platform::FormSpec& Layout();
};

class Form9 final : public ResultScreen {
public:
    Form9();
    static const platform::FormSpec& Layout();
};

} // namespace tolvane::screens
