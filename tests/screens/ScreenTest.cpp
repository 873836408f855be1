// The nine screens as Qt lays them out and draws them: what a user would see.
#include <QAccessible>
#include <QCheckBox>
#include <QGlyphRun>
#include <QLabel>
#include <QTextBlock>
#include <QTextEdit>
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

// Direct children that the user sees, in creation order.
QList<QWidget*> Shown(Screen screen) {
    QList<QWidget*> shown = Window(screen)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    shown.removeIf([](const QWidget* w) { return !w->isVisible(); });
    return shown;
}

// Whether a label's glyphs reach below its box: drawn deeper, does ink show there?
bool InkBelow(QWidget& label) {
    const int height = label.height();
    label.resize(label.width(), height + 8);
    const QImage image = label.grab().toImage();
    label.resize(label.width(), height);
    for (int y = int(std::ceil(height * image.devicePixelRatio())); y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0)) return true;
    return false;
}

// What is wrong with how a fixed caption sits in its box, if anything. An
// item's leader dots may run past the edge, its number and statement not.
std::string Misfit(QWidget& widget) {
    const QString text = widget.property("text").toString();
    const QFontMetrics metrics(widget.font());
    // Fixed texts have no fallback fonts: the face must hold them.
    for (const char32_t c : text.toUcs4())
        if (!metrics.inFontUcs4(c)) return "a missing glyph";
    if (qobject_cast<QLabel*>(&widget) && InkBelow(widget)) return "cut below";
    const int room = widget.width() - (qobject_cast<QCheckBox*>(&widget) ? 17 : 0);
    const QString needed = text.contains(u'・') ? text.left(text.indexOf(u'・')) : text;
    return metrics.horizontalAdvance(needed) <= room ? "" : "cut";
}

} // namespace

// What a user sees of every layout: each control inside its window, its
// caption whole, none reading its design name, none overlapping another but
// paragraph boxes stacked on purpose (the later in front, with no line of the
// earlier hidden), and the item rows at one pitch; at 125 % to 200 % too,
// where CTest sets QT_SCALE_FACTOR.
TEST_F(Screens, LayoutsHoldTogether) {
    if (const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR"); !scale.isEmpty()) {
        ASSERT_EQ(Window(Screen::Form1)->devicePixelRatioF(), scale.toDouble());
    }
    for (int i = 0; i < 9; ++i) {
        const Screen screen = ScreenAt(i);
        const QList<QWidget*> shown = Shown(screen);
        for (QWidget* a : shown) {
            const std::string name = Name(screen) + "." + a->objectName().toStdString();
            EXPECT_TRUE(Window(screen)->rect().contains(a->geometry())) << name;
            EXPECT_NE(a->property("text").toString(), a->objectName()) << name;
            EXPECT_EQ(Misfit(*a), "") << name;
            const auto* text = qobject_cast<const QTextEdit*>(a);
            int room = a->height();
            for (const QWidget* b : shown.mid(shown.indexOf(a) + 1)) {
                if (!a->geometry().intersects(b->geometry())) continue;
                // Yes and no boxes of a row may share their edge pixel.
                const bool boxes = qobject_cast<const QCheckBox*>(a) &&
                                   qobject_cast<const QCheckBox*>(b) &&
                                   (a->geometry() & b->geometry()).width() <= 1;
                EXPECT_TRUE(boxes || (text && qobject_cast<const QTextEdit*>(b)))
                    << name << " overlaps " << b->objectName().toStdString();
                room = std::min(room, b->y() - a->y());
                const QRect both = a->geometry() & b->geometry();
                EXPECT_TRUE(b->isAncestorOf(Window(screen)->childAt(both.center()))) << name;
            }
            const QTextDocument* d = text ? text->document() : nullptr;
            EXPECT_LE(d ? d->size().height() - d->documentMargin() : 0, room) << name;
        }
    }
    for (const Screen page : {Screen::Form1, Screen::Form2}) {
        const int pitch = Find(page, "Check3")->y() - Find(page, "Check1")->y();
        EXPECT_GT(pitch, Find(page, "Label2")->height());
        for (int k = 1; k <= 16; ++k) {
            const int top = Find(page, "Check1")->y() + (k - 1) * pitch;
            for (const std::string& c :
                 {"Label" + std::to_string(k + 1), "Check" + std::to_string(2 * k - 1),
                  "Check" + std::to_string(2 * k)})
                EXPECT_EQ(Find(page, c.c_str())->y(), top) << Name(page) << "." << c;
        }
    }
}

// A screen reader names each text box, which has no caption to read.
TEST_F(Screens, TextBoxesHaveNames) {
    for (int i = 0; i < 9; ++i)
        for (QTextEdit* box : Window(ScreenAt(i))->findChildren<QTextEdit*>())
            EXPECT_NE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), "")
                << Name(ScreenAt(i)) << "." << box->objectName().toStdString();
}

// Typed emoji and Hangul, which the screens' faces lack, draw from fonts that have them.
TEST_F(Screens, TypedTextDrawsEveryCharacter) {
    TheDriver().Type(Screen::Form9, 2, u"\U0001F697한글", Input::Mouse);
    const QTextDocument* text = static_cast<QTextEdit*>(Find(Screen::Form9, "Text2"))->document();
    const QTextBlock last = text->lastBlock();
    QList<quint32> glyphs;
    for (const QGlyphRun& run : last.layout()->glyphRuns(last.length() - 5, 4)) // what was typed
        glyphs += run.glyphIndexes();
    EXPECT_EQ(glyphs.size(), 3); // a car, two syllables
    EXPECT_FALSE(glyphs.contains(0)) << "a glyph missing";
}
