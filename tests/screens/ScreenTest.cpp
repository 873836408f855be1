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

// Direct children that the user sees, in creation order.
QList<QWidget*> Shown(Screen screen) {
    QList<QWidget*> shown = Window(screen)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    shown.removeIf([](const QWidget* w) { return !w->isVisible(); });
    return shown;
}

} // namespace

// What a user sees of every layout: each control inside its window, none
// reading its own design name, none overlapping another but paragraph boxes
// stacked on purpose (the later in front, with no line of the earlier
// hidden), and the item rows at one pitch.
TEST_F(Screens, LayoutsHoldTogether) {
    for (int i = 0; i < 9; ++i) {
        const Screen screen = ScreenAt(i);
        const QList<QWidget*> shown = Shown(screen);
        for (const QWidget* a : shown) {
            const std::string name = Name(screen) + "." + a->objectName().toStdString();
            EXPECT_TRUE(Window(screen)->rect().contains(a->geometry())) << name;
            EXPECT_NE(a->property("text").toString(), a->objectName()) << name;
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
            if (text) {
                const QTextDocument& d = *text->document();
                EXPECT_LE(d.size().height() - d.documentMargin(), room) << name;
            }
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
