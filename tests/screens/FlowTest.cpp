#include "Form1.h"
#include "ProgramTest.h"
#include "Screens.h"

using namespace tolvane;
using namespace tolvane::screens;

namespace {
class FlowTest : public test::ProgramTest {};
} // namespace

TEST_F(FlowTest, StartUpShowsOnlyForm1) {
    Dispatch(StartUp);
    EXPECT_EQ(The<Form1>().CurrentState(), platform::Form::State::Visible);
}
