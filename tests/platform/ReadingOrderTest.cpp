// A screen reader and the phone's one column read a screen in this order.
#include <gtest/gtest.h>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "ReadingOrder.h"
#include "ResultScreens.h"

using namespace tolvane;

namespace {

struct Reading {
    const platform::FormSpec& (*layout)();
    std::string order; // the controls read, by name
};
class ReadingOrder : public ::testing::TestWithParam<Reading> {};

std::string Rows(std::string rows = "") { // each item's statement, then yes and no
    for (int k = 1; k <= 16; ++k)
        rows += "Label" + std::to_string(k + 1) + " Check" + std::to_string(2 * k - 1) + " Check" +
                std::to_string(2 * k) + " ";
    return rows;
}

} // namespace

TEST_P(ReadingOrder, HeadingFirstRowsInTurnBesideBlocksAfter) {
    const platform::FormSpec& layout = GetParam().layout();
    std::string read;
    for (const std::size_t i : platform::ReadingOrder(layout))
        if (layout.controls[i].kind != platform::ControlKind::Line &&
            !(layout.controls[i].style & platform::kHidden))
            read += (read.empty() ? "" : " ") + layout.controls[i].name;
    EXPECT_EQ(read, GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ReadingOrder,
    ::testing::Values(Reading{screens::Form1::Layout,
                              "Label1 Text1 " + Rows() + "Label25 Command1 Command2 Command3"},
                      Reading{screens::Form3::Layout, "Label1 Label2 Label3 Command1"},
                      Reading{screens::Form7::Layout,
                              "Label2 Text1 Text3 Text2 Text4 Text5 Label1 Command1"}),
    [](const auto& info) { return info.param.layout().name; });
