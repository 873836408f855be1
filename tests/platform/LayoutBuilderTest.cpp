// Windows and controls as the layout tables build them: pixels from twips,
// names, focus order, fonts, colours, frames and placement on the screen.
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QScreen>

#include "TestScreens.h"
#include "Twips.h"

using namespace tolvane;
using namespace tolvane::platform;
using namespace tolvane::test;

namespace {

// --- Twips ---

struct Conversion {
    int twips;
    int pixels;
};

class TwipsConversion : public testing::TestWithParam<Conversion> {};

TEST_P(TwipsConversion, RoundsToTheNearestPixel) {
    EXPECT_EQ(TwipsToPixels(GetParam().twips), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, TwipsConversion,
                         testing::Values(Conversion{0, 0}, Conversion{7, 0}, Conversion{8, 1},
                                         Conversion{15, 1}, Conversion{22, 1}, Conversion{23, 2},
                                         Conversion{1272, 85}, Conversion{7464, 498},
                                         Conversion{10404, 694}));

TEST(TwipsBoxes, BoxesThatMeetInTwipsMeetInPixels) {
    for (int left = 0; left < 60; ++left) {
        for (int width = 1; width < 60; ++width) {
            const QRect first = TwipsToPixels(left, 0, width, 180);
            const QRect second = TwipsToPixels(left + width, 0, 300, 180);
            ASSERT_EQ(first.x() + first.width(), second.x()) << left << "+" << width;
        }
    }
    EXPECT_EQ(TwipsToPixels(8, 7, 15, 16), QRect(1, 0, 1, 2));
}

// --- Building a screen ---

class LayoutTest : public PlatformTest {
protected:
    QWidget* Window(Form& form) {
        form.Show();
        return form.Window();
    }
};

TEST_F(LayoutTest, WindowHasItsClientSizeAndName) {
    EXPECT_EQ(Window(page())->size(), QSize(300, 200));
    EXPECT_EQ(Window(dialog())->size(), QSize(276, 202));
    EXPECT_EQ(page().Window()->objectName(), "Page");
    EXPECT_EQ(page().Window()->windowTitle(), "Page");
}

TEST_F(LayoutTest, EveryControlIsAChildNamedAsInTheTable) {
    QWidget* window = Window(page());
    for (const ControlSpec& spec : PageLayout().controls) {
        const auto* widget = window->findChild<QWidget*>(QString::fromStdString(spec.name));
        ASSERT_NE(widget, nullptr) << spec.name;
        EXPECT_EQ(widget->parentWidget(), window) << spec.name;
    }
}

TEST_F(LayoutTest, ControlsStandWhereTheTableSays) {
    QWidget* window = Window(page());
    for (const ControlSpec& spec : PageLayout().controls) {
        if (spec.kind == ControlKind::Line || (spec.style & kAutoSize)) continue;
        const auto* widget = window->findChild<QWidget*>(QString::fromStdString(spec.name));
        const auto& b = spec.box;
        EXPECT_EQ(widget->geometry(), TwipsToPixels(b.left, b.top, b.width, b.height)) << spec.name;
    }
    // A few worked by hand.
    EXPECT_EQ(Find(page(), "Check2")->geometry(), QRect(96, 88, 73, 12));
    EXPECT_EQ(Find(page(), "Command1")->geometry(), QRect(200, 120, 89, 33));
    EXPECT_EQ(Find(page(), "Text2")->geometry(), QRect(40, 136, 153, 41));
    EXPECT_EQ(Find(page(), "Label1")->pos(), QPoint(24, 8));
    const QRect line = Find(page(), "Line1")->geometry();
    EXPECT_TRUE(line.contains(32, 104) && line.contains(280, 104)) << "the line's two ends";
    EXPECT_LE(line.height(), 2);
}

// --- Focus order ---

TEST_F(LayoutTest, FirstShowFocusesTheFirstControlInTabOrder) {
    ShowActive(page());
    EXPECT_EQ(FocusName(), kPageFocusOrder.front());
    ShowActive(dialog());
    EXPECT_EQ(FocusName(), "Command1") << "the lowest tab index that takes the focus";
}

TEST_F(LayoutTest, TabFollowsTheTabIndicesRoundAndBack) {
    ShowActive(page());
    std::vector<QString> forward{FocusName()};
    for (std::size_t i = 0; i < kPageFocusOrder.size(); ++i) {
        Type(Qt::Key_Tab);
        forward.push_back(FocusName());
    }
    std::vector<QString> expected = kPageFocusOrder;
    expected.push_back(kPageFocusOrder.front());
    EXPECT_EQ(forward, expected);

    std::vector<QString> backward;
    for (std::size_t i = 0; i < kPageFocusOrder.size(); ++i) {
        Type(Qt::Key_Backtab, Qt::ShiftModifier);
        backward.push_back(FocusName());
    }
    const std::vector<QString> reversed(kPageFocusOrder.rbegin(), kPageFocusOrder.rend());
    EXPECT_EQ(backward, reversed);
}

TEST_F(LayoutTest, ShowingAgainKeepsTheFocusWhereTheUserLeftIt) {
    ShowActive(page());
    page().Command(2).SetFocus();
    page().Hide();
    ShowActive(dialog());
    ShowActive(page());
    EXPECT_EQ(FocusName(), "Command2");
}

TEST_F(LayoutTest, HiddenControlsAreNeverSeenNorClicked) {
    ShowActive(page());
    for (const char* name : {"Command3", "Label3"})
        EXPECT_FALSE(Find(page(), name)->isVisible());
    EXPECT_EQ(Window(page())->childAt(Find(page(), "Command3")->geometry().center()), nullptr);
    page().Hide();
    ShowActive(page());
    EXPECT_FALSE(Find(page(), "Command3")->isVisible());
}

// --- Fonts ---

struct FontCase {
    const char* form;
    const char* control;
    const char16_t* family;
    double points;
    QFont::Weight weight;
};

class ControlFonts : public LayoutTest, public testing::WithParamInterface<FontCase> {};

TEST_P(ControlFonts, AreTheOnesAskedFor) {
    Form& form = std::string(GetParam().form) == "Page" ? static_cast<Form&>(page()) : dialog();
    Window(form);
    const QFont font = Find(form, GetParam().control)->font();
    EXPECT_EQ(font.family(), QString::fromUtf16(GetParam().family));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), GetParam().points);
    EXPECT_EQ(font.weight(), GetParam().weight);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ControlFonts,
    testing::Values(FontCase{"Page", "Label1", u"ＭＳ ゴシック", 15.6, QFont::Bold},
                    FontCase{"Page", "Text2", u"ＭＳ Ｐゴシック", 12, QFont::Normal},
                    FontCase{"Dialog", "Label1", u"ＭＳ Ｐゴシック", 14.4, QFont::Bold},
                    // The rest take the screen's default font.
                    FontCase{"Page", "Check1", u"ＭＳ Ｐゴシック", 9, QFont::Normal},
                    FontCase{"Dialog", "Label2", u"ＭＳ Ｐゴシック", 9, QFont::Normal}));

TEST(FontSubstitution, GothicFacesResolveToTheIpaFonts) {
    // Qt keeps substitutes in lower case; font matching ignores case.
    EXPECT_EQ(QFont::substitute(QStringLiteral(u"ＭＳ ゴシック")).toLower(), "ipagothic");
    EXPECT_EQ(QFont::substitute(QStringLiteral(u"ＭＳ Ｐゴシック")).toLower(), "ipapgothic");
    if (!QFontDatabase::hasFamily("IPAGothic") || !QFontDatabase::hasFamily("IPAPGothic")) {
        GTEST_SKIP() << "the IPA fonts are not installed";
    }
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral(u"ＭＳ ゴシック"), 12)).family(), "IPAGothic");
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral(u"ＭＳ Ｐゴシック"), 12)).family(), "IPAPGothic");
}

// --- Colours, read off the rendered window ---

class Colours : public LayoutTest {
protected:
    void SetUp() override {
        window_ = Window(page());
        image_ = window_->grab().toImage();
    }
    // The colour on screen at a point of a control.
    QColor At(const char* control, QPoint point) {
        return image_.pixelColor(Find(page(), control)->mapTo(window_, point));
    }
    QWidget* window_ = nullptr;
    QImage image_;
    const QColor grey_{192, 192, 192};
    const QColor buttonFace_ = QApplication::palette().color(QPalette::Button);
};

TEST_F(Colours, PageAndPageGreyTextBoxesAreGrey) {
    ASSERT_NE(buttonFace_, grey_) << "the style's button face must differ from the page grey";
    EXPECT_EQ(image_.pixelColor(2, image_.height() - 3), grey_) << "the page";
    const QWidget* text2 = Find(page(), "Text2");
    EXPECT_EQ(At("Text2", {text2->width() - 2, text2->height() - 2}), grey_);
    const QWidget* note = Find(page(), "Text1");
    EXPECT_EQ(At("Text1", {note->width() - 2, note->height() - 2}), grey_) << "disabled note box";
}

TEST_F(Colours, LabelsAndCheckBoxesAreOpaqueButtonFace) {
    for (const char* name : {"Label2", "Check1", "Check2", "Label1"}) {
        const QWidget* control = Find(page(), name);
        EXPECT_EQ(At(name, {control->width() - 1, 0}), buttonFace_) << name;
    }
}

TEST_F(Colours, ButtonFaceWindowsUseTheSystemColourAndGreyTextBoxesStayGrey) {
    QWidget* window = Window(dialog());
    const QImage image = window->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, image.height() - 3), buttonFace_);
    const QWidget* text = Find(dialog(), "Text1");
    EXPECT_EQ(image.pixelColor(text->mapTo(window, QPoint(text->width() - 2, 2))), grey_);
}

// --- Frames and placement ---

TEST_F(LayoutTest, NoControlBoxMeansNoCaptionBarButtons) {
    const Qt::WindowFlags withoutBox = Window(page())->windowFlags();
    EXPECT_TRUE(withoutBox & Qt::WindowTitleHint) << "the caption bar stays";
    for (const Qt::WindowType hint : {Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
                                      Qt::WindowMaximizeButtonHint, Qt::WindowCloseButtonHint}) {
        EXPECT_FALSE(withoutBox & hint) << "hint " << std::hex << hint;
    }
    const Qt::WindowFlags withBox = Window(dialog())->windowFlags();
    for (const Qt::WindowType hint :
         {Qt::WindowTitleHint, Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowCloseButtonHint}) {
        EXPECT_TRUE(withBox & hint) << "hint " << std::hex << hint;
    }
    EXPECT_FALSE(withBox & Qt::FramelessWindowHint);
    EXPECT_FALSE(withoutBox & Qt::FramelessWindowHint);
}

TEST_F(LayoutTest, WindowsOpenCentredAndKeepTheirPlace) {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    for (Form* form : {static_cast<Form*>(&page()), static_cast<Form*>(&dialog())}) {
        const QPoint offset = Window(*form)->frameGeometry().center() - screen.center();
        EXPECT_LE(offset.manhattanLength(), 2) << form->Name();
    }
    page().Window()->move(13, 17);
    const QPoint moved = page().Window()->pos();
    page().Hide();
    page().Show();
    EXPECT_EQ(page().Window()->pos(), moved) << "only the first Show centres";
}

} // namespace
