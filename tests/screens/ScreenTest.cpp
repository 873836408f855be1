// The nine screens as the Qt binding lays them out and draws them: places
// worked out from the layouts by hand, and every text whole, in a face that
// has it, at every scale.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <cmath>
#include <gtest/gtest.h>

#include "Form.h"
#include "QtWindow.h"
#include "Walk.h"

using namespace tolvane;
using namespace tolvane::check;

namespace {

QWidget* Window(Screen screen) { return platform::WidgetOf(FormOf(screen)); }
QWidget* Find(Screen screen, const char* name) { return Window(screen)->findChild<QWidget*>(name); }

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
};
const QRect kHidden(-1, -1, 1, 1);

// Twips over 15, edges rounded, worked out by hand. Labels that size
// themselves, or take the stand-in face's height, say only where they start.
const Place kPlaces[] = {{Screen::Form1, nullptr, {0, 0, 694, 498}},
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
                         {Screen::Form5, "Text2", {32, 128, 393, 61}},
                         {Screen::Form7, "Text1", {32, 72, 385, 41}},
                         {Screen::Form7, "Text3", {32, 128, 393, 49}},
                         {Screen::Form7, "Text2", {32, 184, 393, 33}},
                         {Screen::Form8, "Text5", {32, 272, 393, 17}},
                         {Screen::Form9, "Command1", {168, 336, 129, 33}},
                         {Screen::Form1, "Command4", kHidden},
                         {Screen::Form1, "Label22", kHidden},
                         {Screen::Form1, "Label18", kHidden},
                         {Screen::Form2, "Label25", kHidden},
                         {Screen::Form2, "Line1", kHidden}};

} // namespace

TEST_F(Screens, ControlsStandWhereTheLayoutsPutThem) {
    for (const auto& [screen, control, box] : kPlaces) {
        const QWidget* widget = control ? Find(screen, control) : Window(screen);
        SCOPED_TRACE(Name(screen) + "." + (control ? control : "window"));
        EXPECT_EQ(widget->isVisible(), box != kHidden);
        if (box == kHidden) continue;
        EXPECT_EQ(control ? widget->pos() : QPoint(), box.topLeft());
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

// What the user types draws in a face that has it, emoji and Hangul too.
TEST_F(Screens, TypedTextFallsBackToAFontThatHasIt) {
    TheDriver().Type(Screen::Form5, 2, u"\U0001F697한", Input::Paste);
    const QTextBlock block =
        static_cast<QTextEdit*>(Find(Screen::Form5, "Text2"))->document()->lastBlock();
    ASSERT_TRUE(block.text().endsWith(QString::fromUtf16(u"\U0001F697한")));
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

// How a control's text sits in its box: "whole", "dots to the edge" (an
// item's number and statement whole, its leader dots running past the edge),
// or what is wrong; how many lines a paragraph box takes.
QString Fit(QWidget& widget) {
    if (auto* edit = qobject_cast<QTextEdit*>(&widget)) {
        edit->document()->size(); // lays the text out at the box's width
        int lines = 0;
        for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
            lines += b.layout()->lineCount();
        return QString::number(lines) + " lines";
    }
    const QString text = widget.property("text").toString();
    const QFontMetrics metrics(widget.font());
    if (text.isEmpty() || !widget.isVisible()) return {};
    // Fixed texts have no fallback fonts: the face must hold them.
    for (const char32_t c : text.toUcs4())
        if (!metrics.inFontUcs4(c)) return "MISSING GLYPH";
    if (qobject_cast<QLabel*>(&widget) && InkBelow(widget)) return "CUT below";
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
// pixels, every fixed text is whole and in the IPA faces, and paragraphs wrap alike.
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
        EXPECT_FALSE(line.contains("CUT") || line.contains("MISSING")) << line.toStdString();
    for (const char* scale : {"1.25", "1.5", "2"})
        EXPECT_EQ(layoutAt(scale), base) << "at " << scale;
}
