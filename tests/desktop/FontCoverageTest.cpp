#include <QAbstractButton>
#include <QFontDatabase>
#include <QLabel>
#include <QRawFont>
#include <QTextEdit>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ProgramTest.h"
#include "ResultScreens.h"
#include "Screens.h"

using namespace tolvane;
using namespace tolvane::screens;

namespace {

class FontCoverageTest : public test::ProgramTest {};

QString ShownText(QWidget& widget) {
    if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text();
    if (auto* text = qobject_cast<QTextEdit*>(&widget)) return text->toPlainText();
    return {};
}

} // namespace

// The program asks for no glyph merging where the IPA fonts are installed, so
// every character it shows must be in both of them.
TEST_F(FontCoverageTest, EveryShownCharacterIsInBothIpaFaces) {
    const QStringList families = QFontDatabase::families();
    if (!families.contains("IPAGothic") || !families.contains("IPAPGothic")) {
        GTEST_SKIP() << "the IPA fonts are not installed";
    }
    Dispatch([] {
        StartUp();
        The<Form2>().Show();
        The<Form3>().Show();
        The<Form4>().Show();
        The<Form5>().Show();
        The<Form6>().Show();
        The<Form7>().Show();
        The<Form8>().Show();
        The<Form9>().Show();
    });
    QString shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        shown += window->windowTitle();
        for (QWidget* child : window->findChildren<QWidget*>())
            shown += ShownText(*child);
    }
    ASSERT_GT(shown.size(), 2000) << "the screens were not all loaded";
    for (const char* family : {"IPAGothic", "IPAPGothic"}) {
        QFont font(family);
        font.setPixelSize(12);
        const QRawFont raw = QRawFont::fromFont(font);
        ASSERT_TRUE(raw.isValid()) << family;
        for (const QChar c : shown) {
            if (c.isSpace()) continue;
            EXPECT_TRUE(raw.supportsCharacter(c))
                << family << " lacks U+" << std::hex << static_cast<int>(c.unicode());
        }
    }
}
