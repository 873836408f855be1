// The nine screens as the Qt binding draws them: places, fonts and colours
// worked out from the layouts by hand, the paragraphs' forms, what a screen
// reader hears, and every text whole, in a face that has it, at every scale.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QProcess>
#include <QRawFont>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <cmath>

#include "Form.h"
#include "ItemCatalogue.h"
#include "QtWindow.h"
#include "Walk.h"

using namespace tolvane;
using namespace tolvane::check;
using platform::ToQString;

namespace {

QWidget* Window(Screen screen) { return platform::WidgetOf(FormOf(screen)); }
QWidget* Find(Screen screen, const char* name) { return Window(screen)->findChild<QWidget*>(name); }
QString Text(Screen screen, int box) {
    return static_cast<QTextEdit*>(Find(screen, ("Text" + std::to_string(box)).c_str()))
        ->toPlainText();
}

// A fresh program with every screen loaded and shown.
class Screens : public ::testing::Test {
protected:
    void SetUp() override {
        program_.runtime().Dispatch([] {
            for (int i = 0; i < 9; ++i)
                FormOf(ScreenAt(i)).Show();
        });
    }
    Program program_;
};

struct Place {
    Screen screen;
    const char* control; // null: the window's client area
    QRect box;           // a width or height of 0 is not checked
    bool shown = true;
};

// Twips over 15, edges rounded, worked out by hand. Labels that size
// themselves or take the stand-in face's height say only where they start.
const Place kPlaces[] = {
    {Screen::Form1, nullptr, {0, 0, 694, 498}},
    {Screen::Form3, nullptr, {0, 0, 276, 202}},
    {Screen::Form5, nullptr, {0, 0, 452, 395}},
    {Screen::Form1, "Label1", {24, 8, 0, 0}},
    {Screen::Form1, "Text1", {40, 40, 385, 33}},
    {Screen::Form1, "Label7", {40, 208, 339, 0}},
    {Screen::Form1, "Check1", {384, 88, 49, 12}},
    {Screen::Form1, "Check12", {456, 208, 97, 12}},
    {Screen::Form2, "Check29", {384, 424, 73, 12}},
    {Screen::Form1, "Command2", {568, 384, 89, 33}},
    {Screen::Form2, "Command3", {568, 384, 89, 33}},
    {Screen::Form2, "Command2", {568, 432, 89, 33}},
    {Screen::Form1, "Label25", {344, 480, 0, 0}},
    {Screen::Form2, "Label18", {576, 472, 0, 0}},
    {Screen::Form3, "Label2", {32, 48, 195, 0}},
    {Screen::Form3, "Command1", {96, 144, 97, 33}},
    {Screen::Form4, "Label1", {24, 16, 0, 0}},
    {Screen::Form5, "Label2", {32, 24, 0, 0}},
    {Screen::Form5, "Text2", {32, 128, 393, 61}},
    {Screen::Form7, "Text1", {32, 72, 385, 41}},
    {Screen::Form7, "Text3", {32, 128, 393, 49}},
    {Screen::Form7, "Text2", {32, 184, 393, 33}},
    {Screen::Form8, "Text5", {32, 272, 393, 17}},
    {Screen::Form9, "Command1", {168, 336, 129, 33}},
    {Screen::Form1, "Command4", {}, false},
    {Screen::Form1, "Label22", {}, false},
    {Screen::Form1, "Label19", {}, false},
    {Screen::Form1, "Label18", {}, false},
    {Screen::Form2, "Label25", {}, false},
    {Screen::Form2, "Line1", {}, false},
};

} // namespace

TEST_F(Screens, ControlsStandWhereTheLayoutsPutThem) {
    for (const auto& [screen, control, box, shown] : kPlaces) {
        const QWidget* widget = control ? Find(screen, control) : Window(screen);
        SCOPED_TRACE(Name(screen) + "." + (control ? control : "window"));
        EXPECT_EQ(widget->isVisible(), shown);
        EXPECT_EQ(control && shown ? widget->pos() : QPoint(), box.topLeft());
        EXPECT_TRUE(!box.width() || widget->width() == box.width()) << widget->width();
        EXPECT_TRUE(!box.height() || widget->height() == box.height()) << widget->height();
    }
    // Credit lines grown to fit stay in their window and clear of the rest.
    for (const auto& [screen, name] :
         {std::pair{Screen::Form1, "Label25"}, {Screen::Form2, "Label18"}}) {
        const QRect credit = Find(screen, name)->geometry();
        EXPECT_TRUE(Window(screen)->rect().contains(credit)) << name;
        for (const QWidget* other :
             Window(screen)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(other->geometry() == credit || !other->isVisible() ||
                        !other->geometry().intersects(credit))
                << name << " overlaps " << other->objectName().toStdString();
    }
    // Where paragraph boxes overlap, the later one lies in front.
    const QRect both =
        Find(Screen::Form6, "Text3")->geometry() & Find(Screen::Form6, "Text4")->geometry();
    EXPECT_TRUE(
        Find(Screen::Form6, "Text4")->isAncestorOf(Window(Screen::Form6)->childAt(both.center())));
}

TEST_F(Screens, FontsAndColoursAreTheOnesAskedFor) {
    const struct {
        Screen screen;
        const char* control;
        const char16_t* family;
        double points;
        int weight;
    } fonts[] = {{Screen::Form1, "Label1", u"ＭＳ ゴシック", 15.6, 700},
                 {Screen::Form3, "Label3", u"ＭＳ Ｐゴシック", 12, 400},
                 {Screen::Form5, "Label2", u"ＭＳ Ｐゴシック", 14.4, 700},
                 {Screen::Form6, "Text1", u"ＭＳ Ｐゴシック", 12, 400},
                 {Screen::Form6, "Text2", u"ＭＳ Ｐゴシック", 9, 400},
                 {Screen::Form1, "Check1", u"ＭＳ Ｐゴシック", 9, 400}};
    for (const auto& [screen, control, family, points, weight] : fonts) {
        const QFont font = Find(screen, control)->font();
        EXPECT_EQ(font.family().toStdU16String(), family) << control;
        EXPECT_TRUE(font.pointSizeF() == points && font.weight() == weight) << control;
    }
    EXPECT_EQ(QFontInfo(Find(Screen::Form1, "Label1")->font()).family(), "IPAGothic");
    EXPECT_EQ(QFontInfo(Find(Screen::Form1, "Label2")->font()).family(), "IPAPGothic");
    // Page grey behind pages and paragraph boxes; button face behind labels,
    // boxes and the dialogs.
    const QColor grey(192, 192, 192), face = QApplication::palette().color(QPalette::Button);
    ASSERT_NE(face, grey);
    const std::tuple<Screen, const char*, QColor> colours[] = {
        {Screen::Form1, nullptr, grey},  {Screen::Form1, "Text1", grey},
        {Screen::Form5, "Text2", grey},  {Screen::Form1, "Label2", face},
        {Screen::Form1, "Check2", face}, {Screen::Form3, nullptr, face}};
    for (const auto& [screen, control, colour] : colours) {
        const QWidget* widget = control ? Find(screen, control) : Window(screen);
        const QPoint corner = widget->mapTo(Window(screen), QPoint(widget->width() - 2, 0));
        EXPECT_EQ(Window(screen)->grab().toImage().pixelColor(corner), colour)
            << (control ? control : "");
    }
}

TEST_F(Screens, ParagraphsKeepTheirForms) {
    for (int i = 4; i < 9; ++i) {
        for (int box = 1; box <= 4 + (i == 5); ++box) {
            const QString p = Text(ScreenAt(i), box);
            SCOPED_TRACE(Name(ScreenAt(i)) + ".Text" + std::to_string(box));
            // Type A's third ends on a space after its stop, type C's third on a half-width stop.
            EXPECT_TRUE(p.endsWith(ToQString(i == 4 && box == 3   ? u"．　"
                                             : i == 6 && box == 3 ? u"."
                                                                  : u"．")));
            // Type A's second opens its last sentence with a second space.
            EXPECT_EQ(p.count(u'　'), i == 4 && (box == 2 || box == 3) ? 2 : 1);
            EXPECT_FALSE(p.contains(u'\n'));
        }
        EXPECT_EQ(Text(ScreenAt(i), 1).mid(1, 5), Text(Screen::Form5, 1).mid(1, 5))
            << "findings open alike";
    }
    // Type C's third: a full-width first sentence, then " , " and later ", ".
    const QString c = Text(Screen::Form7, 3);
    EXPECT_TRUE(c.indexOf(" , ") > c.indexOf(u'．') && c.indexOf(", ", c.indexOf(" , ") + 3) > 0);
    EXPECT_EQ(c.count(u'．'), 1);
}

// A screen reader tells the 64 boxes apart: "項目１：statement　回答：はい".
TEST_F(Screens, EveryBoxNamesItsItemAndAnswer) {
    for (int item = 1; item <= 32; ++item) {
        for (const int yes : {1, 0}) {
            const std::string box = "Check" + std::to_string((item - 1) % 16 * 2 + 2 - yes);
            QAccessibleInterface* face =
                QAccessible::queryAccessibleInterface(Find(ScreenAt(item > 16), box.c_str()));
            const std::u16string answer = yes ? u"はい" : u"いいえ";
            std::u16string number;
            for (const char digit : std::to_string(item))
                number += char16_t(u'０' + digit - '0');
            EXPECT_EQ(face->text(QAccessible::Name).toStdU16String(), answer);
            EXPECT_EQ(face->text(QAccessible::Description).toStdU16String(),
                      u"項目" + number + u"：" + std::u16string(logic::ItemStatement(item)) +
                          u"　回答：" + answer);
        }
    }
}

// The fixed texts ask the IPA faces for no fallback: they must hold every
// character the screens show.
TEST_F(Screens, EveryShownCharacterIsInBothIpaFaces) {
    QString shown;
    for (int i = 0; i < 9; ++i) {
        shown += Window(ScreenAt(i))->windowTitle();
        for (QWidget* child : Window(ScreenAt(i))->findChildren<QWidget*>()) {
            const char* property = qobject_cast<QTextEdit*>(child) ? "plainText" : "text";
            shown += child->property(property).toString();
        }
    }
    for (const char* family : {"IPAGothic", "IPAPGothic"}) {
        const QRawFont raw = QRawFont::fromFont(QFont(family));
        ASSERT_EQ(raw.familyName(), family) << "the IPA fonts are not installed";
        for (const QChar c : shown)
            EXPECT_TRUE(c.isSpace() || raw.supportsCharacter(c))
                << family << " lacks U+" << std::hex << int(c.unicode());
    }
}

// What the user types draws in a face that has it, emoji and Hangul too.
TEST_F(Screens, TypedTextFallsBackToAFontThatHasIt) {
    TheDriver().Type(Screen::Form5, 2, u"\U0001F697한", Input::Paste);
    const QTextBlock block =
        static_cast<QTextEdit*>(Find(Screen::Form5, "Text2"))->document()->lastBlock();
    ASSERT_TRUE(block.text().endsWith(ToQString(u"\U0001F697한")));
    for (const QGlyphRun& run : block.layout()->glyphRuns(int(block.text().size()) - 3, 3)) {
        for (const quint32 glyph : run.glyphIndexes())
            EXPECT_NE(glyph, 0u) << "a missing glyph in "
                                 << run.rawFont().familyName().toStdString();
    }
}

namespace {

// Whether a label's glyphs reach below its box: drawn deeper, does ink show there?
bool InkBelow(QWidget& label) {
    const int height = label.height();
    label.resize(label.width(), height + 8);
    const QImage image = label.grab().toImage();
    label.resize(label.width(), height);
    for (int y = int(std::ceil(height * image.devicePixelRatio())); y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0)) return true;
    }
    return false;
}

// How a control's text sits in its box: "whole", "dots to the edge" (an item's
// number and statement whole, its leader dots running on past the edge),
// "CUT"; how many lines a paragraph box takes.
QString Fit(QWidget& widget) {
    if (auto* edit = qobject_cast<QTextEdit*>(&widget)) {
        edit->document()->size(); // lays the text out at the box's width
        int lines = 0;
        for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
            lines += b.layout()->lineCount();
        return QString::number(lines) + " lines";
    }
    const QString text = widget.property("text").toString();
    if (text.isEmpty() || !widget.isVisible()) return {};
    if (qobject_cast<QLabel*>(&widget) && InkBelow(widget)) return "CUT below";
    const QFontMetrics metrics(widget.font());
    const int room = widget.width() - (qobject_cast<QCheckBox*>(&widget) ? 17 : 0);
    if (metrics.horizontalAdvance(text) <= room) return "whole";
    const bool dots =
        text.contains(u'・') && metrics.horizontalAdvance(text.left(text.indexOf(u'・'))) <= room;
    return dots ? "dots to the edge" : "CUT";
}

} // namespace

// Run by the test below in a child process, under a scale factor.
TEST_F(Screens, PrintLayout) {
    if (qEnvironmentVariableIsEmpty("TOLVANE_PRINT_LAYOUT")) GTEST_SKIP() << "run by HighDpi";
    QString out = QString("<layout>\nratio %1\n").arg(Window(Screen::Form1)->devicePixelRatioF());
    for (int i = 0; i < 9; ++i) {
        for (QWidget* child :
             Window(ScreenAt(i))->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect r = child->geometry();
            out += QString("%1.%2 %3,%4 %5x%6 %7\n")
                       .arg(Name(ScreenAt(i)).c_str(), child->objectName())
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height())
                       .arg(Fit(*child));
        }
    }
    std::fputs(qPrintable(out + "</layout>\n"), stdout);
}

// At 100 % to 200 % every screen has one layout in device-independent
// pixels, no text is cut, and paragraphs wrap alike.
TEST(HighDpi, SameLayoutAndEveryTextWholeAtEveryScale) {
    const auto layoutAt = [](const char* scale) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TOLVANE_PRINT_LAYOUT", "1");
        env.insert("QT_SCALE_FACTOR", scale);
        child.setProcessEnvironment(env);
        child.start(QApplication::applicationFilePath(), {"--gtest_filter=Screens.PrintLayout"});
        EXPECT_TRUE(child.waitForFinished(60000));
        const QString out = child.readAllStandardOutput();
        EXPECT_TRUE(out.contains(QString("ratio %1\n").arg(QString(scale).toDouble()))) << scale;
        return out.section("<layout>", 1).section("</layout>", 0, 0).split('\n').mid(2);
    };
    const QStringList base = layoutAt("1");
    ASSERT_GT(base.size(), 150);
    for (const QString& line : base)
        EXPECT_FALSE(line.contains("CUT")) << line.toStdString();
    for (const char* scale : {"1.25", "1.5", "2"})
        EXPECT_EQ(layoutAt(scale), base) << "at " << scale;
}
