// What the screens say: titles, the dialogs' lines, the result screens'
// heading, note and paragraphs, the pages' source note and item captions.
#include <QImage>
#include <QLabel>

#include "ItemCatalogue.h"
#include "ScreenTest.h"

using namespace tolvane;
using test::Numbered;

namespace {

constexpr QChar kSpace(0x3000); // ideographic space
constexpr QChar kStop(0xFF0E);  // full-width full stop

class TextTest : public test::ScreenTest {
protected:
    void SetUp() override { ShowAll(); }
    static const platform::Form& Screen(int n) { return test::kScreens[n - 1].form(); }
    static QString Caption(int screen, const std::string& name) {
        const auto* label = Find<QLabel>(Screen(screen), name.c_str());
        return label ? label->text() : QString();
    }
    static QString TextOf(int screen, const std::string& name) {
        const QWidget* box = Find(Screen(screen), name.c_str());
        return box ? box->property("plainText").toString() : QString();
    }
    static bool HasLineBreak(const QString& text) {
        return text.contains('\n') || text.contains('\r') || text.contains(QChar(0x2029));
    }
};

// Text1 to Text5 of Form5 to Form9; a 0 is a fifth box left empty.
const std::vector<qsizetype> kParagraphLengths[] = {{34, 142, 84, 85},
                                                    {43, 78, 58, 60, 108},
                                                    {38, 48, 119, 94, 0},
                                                    {40, 59, 125, 62, 0},
                                                    {38, 41, 76, 76, 0}};

// "安全運転自己診断－１" and "－２", the dialogs' own names, "あなたはＡタイプ" to "Ｅ".
QString Title(int screen) {
    if (screen <= 2) return QStringLiteral(u"安全運転自己診断－") + QChar(0xFF10 + screen);
    if (screen <= 4) return QStringLiteral("Form%1").arg(screen);
    return QStringLiteral(u"あなたは") + QChar(0xFF21 + screen - 5) + QStringLiteral(u"タイプ");
}

// How a paragraph ends, and how many ideographic spaces it holds, where it
// departs from one opening space and a closing "．".
QString Ending(int screen, int box) {
    if (screen == 5 && box == 3) return QString(kStop) + kSpace;
    return screen == 7 && box == 3 ? QString('.') : QString(kStop);
}
qsizetype Spaces(int screen, int box) { return screen == 5 && (box == 2 || box == 3) ? 2 : 1; }

} // namespace

TEST_F(TextTest, TitlesHeadingsAndDialogLines) {
    const QString lines[] = {QStringLiteral(u"チェックが重複しているか，"),
                             QStringLiteral(u"不足しているか，しています．"),
                             QStringLiteral(u"確認して下さい．")};
    for (int screen = 1; screen <= 9; ++screen) {
        SCOPED_TRACE(Screen(screen).Name());
        const QString title = Title(screen);
        EXPECT_EQ(Screen(screen).Window()->windowTitle(), title);
        if (screen <= 2) {
            EXPECT_EQ(Caption(screen, "Label1"), title);
        }
        for (int line = 1; line <= 3 && (screen == 3 || screen == 4); ++line) {
            const auto* label = Find<QLabel>(Screen(screen), Numbered("Label", line).c_str());
            EXPECT_EQ(label->text(), lines[line - 1]);
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
                << "line " << line << " is cut off";
        }
        if (screen < 5) continue;
        EXPECT_EQ(Caption(screen, "Label2"), QStringLiteral(u"安全運転診断結果"));
        EXPECT_EQ(Caption(screen, "Label1"),
                  QStringLiteral(u"２つ以上のタイプにあてはまるときがあります．"));
    }
}

TEST_F(TextTest, ParagraphsHaveTheirLengthsAndForms) {
    for (int screen = 5; screen <= 9; ++screen) {
        const std::vector<qsizetype>& lengths = kParagraphLengths[screen - 5];
        for (int box = 1; box <= int(lengths.size()); ++box) {
            SCOPED_TRACE(Screen(screen).Name() + ".Text" + std::to_string(box));
            const QString text = TextOf(screen, Numbered("Text", box));
            EXPECT_EQ(text.size(), lengths[box - 1]);
            if (lengths[box - 1] == 0) continue;
            EXPECT_TRUE(text.startsWith(kSpace));
            EXPECT_TRUE(text.endsWith(Ending(screen, box))) << text.right(3).toStdString();
            EXPECT_EQ(text.count(kSpace), Spaces(screen, box));
            EXPECT_FALSE(HasLineBreak(text));
        }
        const bool fifthBox = Screen(screen).Window()->findChild<QWidget*>("Text5");
        EXPECT_EQ(fifthBox, lengths.size() == 5);
        // Every finding opens with the same phrase.
        EXPECT_EQ(TextOf(screen, "Text1").mid(1, 5), TextOf(5, "Text1").mid(1, 5));
    }
    // Type A's second paragraph opens its last sentence with a second space.
    const QString rough = TextOf(5, "Text2");
    EXPECT_EQ(rough.at(rough.indexOf(kSpace, 1) - 1), kStop);
    // Type C's third paragraph: a full-width first sentence, then one written
    // half-width with " , ", later ", ", and a closing ".".
    const QString hesitant = TextOf(7, "Text3");
    const qsizetype spacedComma = hesitant.indexOf(" , ");
    EXPECT_GT(spacedComma, hesitant.indexOf(kStop));
    EXPECT_GT(hesitant.indexOf(", ", spacedComma + 3), spacedComma);
    EXPECT_EQ(hesitant.count(kStop), 1);
    EXPECT_EQ(hesitant.indexOf('.'), hesitant.size() - 1);
}

TEST_F(TextTest, SourceNoteAndItemCaptionsOnBothPages) {
    int cut = 0;
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE(Screen(page).Name());
        const QString note = TextOf(page, "Text1");
        EXPECT_EQ(note.size(), 63);
        EXPECT_TRUE(note.startsWith(kSpace) && note.endsWith(kStop)) << note.toStdString();
        const qsizetype open = note.indexOf(QChar(0x300C)), close = note.indexOf(QChar(0x300D));
        EXPECT_EQ(note.count(QChar(0x300C)) + note.count(QChar(0x300D)), 2);
        EXPECT_TRUE(open >= 0 && open < close);
        EXPECT_FALSE(HasLineBreak(note));
        EXPECT_FALSE(Find(Screen(page), "Text1")->isEnabled());

        for (int k = 1; k <= logic::kItemsPerPage; ++k) {
            const int item = logic::ItemAt(page, k);
            SCOPED_TRACE("item " + std::to_string(item));
            auto* label = Find<QLabel>(Screen(page), Numbered("Label", k + 1).c_str());
            const QWidget* yes = Find(Screen(page), Numbered("Check", 2 * k - 1).c_str());
            ASSERT_TRUE(label && yes);
            EXPECT_EQ(label->text().toStdU16String(), logic::ItemCaption(item));
            // One line, as tall as the boxes, ending left of them; number, stop
            // and statement fit, only leader dots may be cut.
            EXPECT_FALSE(label->wordWrap());
            EXPECT_EQ(label->height(), yes->height());
            EXPECT_LT(label->geometry().right(), yes->geometry().left());
            const QFontMetrics metrics = label->fontMetrics();
            const qsizetype fitting = 3 + qsizetype(logic::ItemStatement(item).size());
            EXPECT_LE(metrics.horizontalAdvance(label->text().left(fitting)), label->width());
            if (metrics.horizontalAdvance(label->text()) <= label->width()) continue;
            // Wider than its label: clipped at the right edge, not elided or
            // wrapped short, so ink runs up to that edge.
            ++cut;
            QImage image(label->size(), QImage::Format_RGB32);
            label->render(&image);
            bool inkNearEdge = false;
            for (int x = image.width() - 6; x < image.width(); ++x) {
                for (int y = 0; y < image.height(); ++y)
                    inkNearEdge |= image.pixel(x, y) != image.pixel(image.width() - 1, 0);
            }
            EXPECT_TRUE(inkNearEdge);
        }
    }
    EXPECT_GT(cut, 0) << "no caption is wider than its label";
}
