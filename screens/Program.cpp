#include "Form1.h"
#include "Form2.h"
#include "Screens.h"

namespace tolvane::screens {
namespace {

// Reads the boxes where the user ticked them. Reading a page that was never
// shown loads it, hidden, with every box unticked.
class PageAnswers final : public logic::AnswerSheet {
public:
    logic::Int16 BoxValue(int page, int box) override {
        platform::Form& form =
            page == 1 ? static_cast<platform::Form&>(The<Form1>()) : The<Form2>();
        return form.Check(box).Value();
    }
};

} // namespace

logic::AnswerSheet& Answers() { return The<PageAnswers>(); }

void StartUp() { The<Form1>().Show(); }

} // namespace tolvane::screens
