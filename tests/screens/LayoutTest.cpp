// Every screen as its layout table builds it: controls in place in pixels,
// lying over each other in table order, the focus going round them in tab
// order; and a few places worked out by hand.
#include "ScreenTest.h"
#include "Twips.h"

using namespace tolvane;
using namespace tolvane::screens;
using platform::TwipsToPixels;

namespace {

class LayoutTest : public test::ScreenTest {
protected:
    static QRect At(const platform::Form& form, const char* control) {
        const QWidget* widget = Find(form, control);
        return widget ? widget->geometry() : QRect();
    }
};

class TableTest : public LayoutTest, public ::testing::WithParamInterface<test::ScreenEntry> {
protected:
    void SetUp() override {
        Dispatch([] { GetParam().form().Show(); });
    }
};

// The round Tab makes, starting where the focus goes on first showing.
QStringList TabRound(const std::string& screen) {
    if (screen == "Form1" || screen == "Form2") {
        QStringList round{"Check1", "Check2", "Check3", "Check4", "Command1", "Command2"};
        for (int box = 5; box <= 32; ++box)
            round << QString::fromStdString(test::Numbered("Check", box));
        return round << "Command3";
    }
    if (screen == "Form3" || screen == "Form4") return {"Command1"};
    QStringList round{"Command1", "Text3", "Text4"};
    if (screen != "Form5") round << "Text5";
    return round << "Text1"
                 << "Text2";
}

} // namespace

TEST_P(TableTest, ControlsStandAndOverlapAsTheTableSays) {
    const platform::FormSpec& layout = GetParam().layout();
    QWidget* window = GetParam().form().Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(),
              QSize(TwipsToPixels(layout.clientWidth), TwipsToPixels(layout.clientHeight)));
    std::vector<const QWidget*> shown; // in stacking order
    for (const platform::ControlSpec& control : layout.controls) {
        if (control.kind == platform::ControlKind::Line) continue;
        SCOPED_TRACE(control.name);
        const QWidget* widget = Find(GetParam().form(), control.name.c_str());
        ASSERT_NE(widget, nullptr);
        const auto& b = control.box;
        const QRect expected = TwipsToPixels(b.left, b.top, b.width, b.height);
        if (control.style & platform::kAutoSize) {
            EXPECT_EQ(widget->pos(), expected.topLeft());
        } else {
            EXPECT_EQ(widget->geometry(), expected);
        }
        const bool hidden = control.style & platform::kHidden;
        EXPECT_EQ(widget->isVisibleTo(window), !hidden);
        if (!hidden) shown.push_back(widget);
    }
    // Where controls overlap, the last of them in the table lies in front.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const QRect overlap = shown[i]->geometry() & shown[j]->geometry();
            if (overlap.isEmpty()) continue;
            const QPoint point = overlap.center();
            const QWidget* front = nullptr;
            for (const QWidget* widget : shown)
                front = widget->geometry().contains(point) ? widget : front;
            const QWidget* hit = window->childAt(point);
            EXPECT_TRUE(hit == front || front->isAncestorOf(hit))
                << shown[i]->objectName().toStdString() << " and "
                << shown[j]->objectName().toStdString();
        }
    }
}

TEST_P(TableTest, FocusStartsOnTheFirstStopAndTabGoesRoundInOrder) {
    const platform::Form& form = GetParam().form();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Window(), 1000));
    QStringList visited;
    for (int presses = 0; presses < 60 && (visited.isEmpty() || FocusIn(form) != visited[0]);
         ++presses) {
        visited << FocusIn(form);
        Press(Qt::Key_Tab);
    }
    EXPECT_EQ(visited, TabRound(form.Name()));
}

INSTANTIATE_TEST_SUITE_P(Screens, TableTest, ::testing::ValuesIn(test::kScreens),
                         [](const auto& info) { return info.param.layout().name; });

TEST_F(LayoutTest, PlacesWorkedOutByHand) {
    ShowAll();
    EXPECT_EQ(The<Form1>().Window()->size(), QSize(694, 498));
    EXPECT_EQ(The<Form3>().Window()->size(), QSize(276, 202));
    EXPECT_EQ(The<Form7>().Window()->size(), QSize(452, 395));
    EXPECT_EQ(At(The<Form1>(), "Check1"), QRect(384, 88, 49, 12));
    // Page 2's back button stands above its cancel button.
    EXPECT_LT(At(The<Form2>(), "Command3").bottom(), At(The<Form2>(), "Command2").top());
    // On the type C screen the third paragraph stands above the second.
    EXPECT_LT(At(The<Form7>(), "Text3").bottom(), At(The<Form7>(), "Text2").top());
    // Type B's third and fourth paragraph boxes overlap, the fourth in front.
    const QRect overlap = At(The<Form6>(), "Text3") & At(The<Form6>(), "Text4");
    ASSERT_FALSE(overlap.isEmpty());
    const QWidget* hit = The<Form6>().Window()->childAt(overlap.center());
    EXPECT_TRUE(Find(The<Form6>(), "Text4")->isAncestorOf(hit));
}
