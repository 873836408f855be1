// Every screen's controls where its layout table puts them, in pixels, and
// a few places checked by hand against the drawn design.
#include <QLabel>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ResultScreens.h"
#include "ScreenTest.h"
#include "Screens.h"
#include "Twips.h"

using namespace tolvane;
using namespace tolvane::screens;
using platform::ControlKind;

namespace {

struct Screen {
    const char* name;
    platform::Form& (*form)();
    const platform::FormSpec& (*layout)();
    friend void PrintTo(const Screen& screen, std::ostream* out) { *out << screen.name; }
};

template <class T>
platform::Form& Instance() {
    return The<T>();
}

const Screen kScreens[] = {
    {"Form1", &Instance<Form1>, &Form1::Layout}, {"Form2", &Instance<Form2>, &Form2::Layout},
    {"Form3", &Instance<Form3>, &Form3::Layout}, {"Form4", &Instance<Form4>, &Form4::Layout},
    {"Form5", &Instance<Form5>, &Form5::Layout}, {"Form6", &Instance<Form6>, &Form6::Layout},
    {"Form7", &Instance<Form7>, &Form7::Layout}, {"Form8", &Instance<Form8>, &Form8::Layout},
    {"Form9", &Instance<Form9>, &Form9::Layout},
};

class LayoutTest : public test::ScreenTest {
protected:
    // Every screen shown, as the flow would show it.
    void ShowAll() {
        for (const Screen& screen : kScreens)
            Dispatch([&screen] { screen.form().Show(); });
        ASSERT_EQ(VisibleScreens().size(), std::size(kScreens));
    }
    static QRect At(const char* screen, const char* control) {
        for (const Screen& s : kScreens) {
            if (std::string_view(s.name) == screen) return Find(s.form(), control)->geometry();
        }
        return {};
    }
};

class TableTest : public LayoutTest, public ::testing::WithParamInterface<Screen> {};

} // namespace

TEST_P(TableTest, EveryControlAndTheClientAreaMatchTheLayoutInPixels) {
    const Screen& screen = GetParam();
    Dispatch([&screen] { screen.form().Show(); });
    const platform::FormSpec& layout = screen.layout();
    const QWidget* window = screen.form().Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(platform::TwipsToPixels(layout.clientWidth),
                                    platform::TwipsToPixels(layout.clientHeight)));
    for (const platform::ControlSpec& control : layout.controls) {
        if (control.kind == ControlKind::Line) continue;
        SCOPED_TRACE(control.name);
        const QWidget* widget = Find(screen.form(), control.name.c_str());
        ASSERT_NE(widget, nullptr);
        const auto& b = control.box;
        const QRect expected = platform::TwipsToPixels(b.left, b.top, b.width, b.height);
        if (control.kind == ControlKind::Label && (control.style & platform::kAutoSize)) {
            EXPECT_EQ(widget->pos(), expected.topLeft());
        } else {
            EXPECT_EQ(widget->geometry(), expected);
        }
        EXPECT_EQ(widget->isVisibleTo(window), !(control.style & platform::kHidden));
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, TableTest, ::testing::ValuesIn(kScreens),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutTest, PlacesCheckedByHand) {
    ShowAll();
    EXPECT_EQ(The<Form1>().Window()->size(), QSize(694, 498));
    EXPECT_EQ(The<Form3>().Window()->size(), QSize(276, 202));
    EXPECT_EQ(The<Form7>().Window()->size(), QSize(452, 395));

    EXPECT_EQ(At("Form1", "Check1"), QRect(384, 88, 49, 12));
    EXPECT_EQ(At("Form2", "Check32"), QRect(456, 448, 73, 12));
    EXPECT_EQ(At("Form1", "Label7"), QRect(40, 208, 339, 12));
    EXPECT_EQ(At("Form1", "Text1"), QRect(40, 40, 385, 33));
    EXPECT_EQ(At("Form5", "Command1"), QRect(168, 336, 129, 33));
    EXPECT_EQ(At("Form3", "Label2"), QRect(32, 48, 195, 16));
    EXPECT_EQ(At("Form4", "Label1").topLeft(), QPoint(24, 16));
    EXPECT_EQ(At("Form9", "Text5"), QRect(32, 280, 393, 17));

    // Buttons from the top: next, cancel, exit on page 1; diagnose, back, cancel on page 2.
    EXPECT_LT(At("Form1", "Command1").top(), At("Form1", "Command2").top());
    EXPECT_LT(At("Form1", "Command2").top(), At("Form1", "Command3").top());
    EXPECT_LT(At("Form2", "Command1").top(), At("Form2", "Command3").top());
    EXPECT_LT(At("Form2", "Command3").top(), At("Form2", "Command2").top());
    // On the type C screen the third paragraph stands above the second.
    EXPECT_LT(At("Form7", "Text3").bottom(), At("Form7", "Text2").top());
    // The finding's box is narrower than the others.
    EXPECT_LT(At("Form6", "Text1").width(), At("Form6", "Text2").width());
}

TEST_F(LayoutTest, PagesShowThreeButtonsAndOneCreditLine) {
    ShowAll();
    for (platform::Form* page : {static_cast<platform::Form*>(&The<Form1>()),
                                 static_cast<platform::Form*>(&The<Form2>())}) {
        QStringList buttons;
        for (const QWidget* child : page->Window()->findChildren<QAbstractButton*>()) {
            if (child->isVisible() && !qobject_cast<const QCheckBox*>(child))
                buttons << child->objectName();
        }
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"Command1", "Command2", "Command3"})) << page->Name();
    }
    EXPECT_TRUE(Find(The<Form1>(), "Label25")->isVisible());
    EXPECT_FALSE(Find(The<Form1>(), "Label18")->isVisible());
    EXPECT_TRUE(Find(The<Form2>(), "Label18")->isVisible());
    EXPECT_FALSE(Find(The<Form2>(), "Label25")->isVisible());
}
