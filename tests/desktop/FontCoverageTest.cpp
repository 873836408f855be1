#include <QAbstractButton>
#include <QFontDatabase>
#include <QLabel>
#include <QRawFont>
#include <QTextEdit>

#include "AllScreens.h"
#include "ProgramTest.h"

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
    std::array<platform::Form*, 9> all{};
    Dispatch([&all] { all = test::ShowAllScreens(); });
    QString shown;
    for (const platform::Form* form : all) {
        QWidget* window = form->Window();
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
