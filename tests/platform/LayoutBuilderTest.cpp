// Windows and controls as the layout tables build them: pixels from twips,
// focus order, fonts, colours, frames and placement on the screen.
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QScreen>

#include "TestScreens.h"
#include "Twips.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

class LayoutTest : public PlatformTest {
protected:
    QWidget* Window(Form& form) {
        form.Show();
        return form.Window();
    }
};

} // namespace

TEST(Twips, RoundToTheNearestPixelAndBoxesThatMeetStillMeet) {
    for (const auto& [twips, pixels] :
         {std::pair{0, 0}, {7, 0}, {8, 1}, {22, 1}, {23, 2}, {7464, 498}, {10404, 694}}) {
        EXPECT_EQ(TwipsToPixels(twips), pixels) << twips;
    }
    for (int left = 0; left < 60; ++left) {
        for (int width = 1; width < 60; ++width) {
            const QRect first = TwipsToPixels(left, 0, width, 180);
            const QRect second = TwipsToPixels(left + width, 0, 300, 180);
            ASSERT_EQ(first.x() + first.width(), second.x()) << left << "+" << width;
        }
    }
    EXPECT_EQ(TwipsToPixels(8, 7, 15, 16), QRect(1, 0, 1, 2));
}

TEST_F(LayoutTest, ALineRunsBetweenItsTwoEnds) {
    Window(page());
    const QRect line = Find(page(), "Line1")->geometry();
    EXPECT_TRUE(line.contains(32, 104) && line.contains(280, 104)) << "the line's two ends";
    EXPECT_LE(line.height(), 2);
}

TEST_F(LayoutTest, FocusStartsOnTheFirstStopAndTabFollowsTheTabIndices) {
    ShowActive(dialog());
    EXPECT_EQ(FocusName(), "Command1") << "the lowest tab index that takes the focus";
    ShowActive(page());
    const std::size_t stops = kPageFocusOrder.size();
    for (std::size_t i = 0; i <= stops; ++i) {
        EXPECT_EQ(FocusName(), kPageFocusOrder[i % stops]) << i << " times Tab";
        Type(Qt::Key_Tab);
    }
    for (std::size_t i = stops + 1; i-- > 0;) {
        Type(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(FocusName(), kPageFocusOrder[i % stops]) << "back to stop " << i;
    }
}

TEST_F(LayoutTest, FontsAreTheOnesAskedForOrTheScreensDefault) {
    const struct {
        Form& form;
        const char* control;
        const char16_t* family;
        double points;
        QFont::Weight weight;
    } fonts[] = {{page(), "Label1", u"ＭＳ ゴシック", 15.6, QFont::Bold},
                 {page(), "Text2", u"ＭＳ Ｐゴシック", 12, QFont::Normal},
                 {dialog(), "Label1", u"ＭＳ Ｐゴシック", 14.4, QFont::Bold},
                 {page(), "Check1", u"ＭＳ Ｐゴシック", 9, QFont::Normal},
                 {dialog(), "Label2", u"ＭＳ Ｐゴシック", 9, QFont::Normal}};
    for (const auto& expected : fonts) {
        Window(expected.form);
        const QFont font = Find(expected.form, expected.control)->font();
        EXPECT_EQ(font.family(), QString::fromUtf16(expected.family)) << expected.control;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), expected.points) << expected.control;
        EXPECT_EQ(font.weight(), expected.weight) << expected.control;
    }
}

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

// The colours as rendered: page grey behind the page and its grey text boxes,
// the style's button face behind labels, check boxes and button-face windows.
TEST_F(LayoutTest, PageGreyAndOpaqueButtonFace) {
    const QColor grey(192, 192, 192);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    ASSERT_NE(buttonFace, grey) << "the style's button face must differ from the page grey";
    const auto colourAt = [this](Form& form, const char* control, bool rightTop) {
        QWidget* window = Window(form);
        const QWidget* widget = control ? Find(form, control) : window;
        const QPoint corner = rightTop ? QPoint(widget->width() - 1, 0)
                                       : QPoint(widget->width() - 2, widget->height() - 2);
        return window->grab().toImage().pixelColor(widget->mapTo(window, corner));
    };
    EXPECT_EQ(colourAt(page(), nullptr, false), grey) << "the page";
    EXPECT_EQ(colourAt(page(), "Text2", false), grey);
    EXPECT_EQ(colourAt(page(), "Text1", false), grey) << "the disabled note box";
    for (const char* name : {"Label1", "Label2", "Check1", "Check2"})
        EXPECT_EQ(colourAt(page(), name, true), buttonFace) << name;
    EXPECT_EQ(colourAt(dialog(), nullptr, false), buttonFace) << "the dialog";
    EXPECT_EQ(colourAt(dialog(), "Text1", false), grey);
}

TEST_F(LayoutTest, ControlBoxDecidesTheCaptionBarButtons) {
    const Qt::WindowFlags without = Window(page())->windowFlags();
    const Qt::WindowFlags with = Window(dialog())->windowFlags();
    EXPECT_TRUE(without & Qt::WindowTitleHint) << "the caption bar stays";
    EXPECT_TRUE(with & Qt::WindowTitleHint);
    for (const Qt::WindowType hint : {Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
                                      Qt::WindowMaximizeButtonHint, Qt::WindowCloseButtonHint}) {
        EXPECT_FALSE(without & hint) << "hint " << std::hex << hint;
        EXPECT_TRUE(with & hint) << "hint " << std::hex << hint;
    }
    EXPECT_FALSE((with | without) & Qt::FramelessWindowHint);
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
