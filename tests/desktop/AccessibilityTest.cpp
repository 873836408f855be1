#include <QAccessible>
#include <QAccessibleInterface>
#include <QCheckBox>
#include <QSet>
#include <QString>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ItemCatalogue.h"
#include "ProgramTest.h"
#include "ResultParagraphs.h"
#include "ResultScreens.h"
#include "Screens.h"

using namespace tolvane;
using namespace tolvane::screens;

namespace {

class AccessibilityTest : public test::ProgramTest {
protected:
    static QString Accessible(QWidget* widget, QAccessible::Text what) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face ? face->text(what) : QString();
    }
    static QString Content(QWidget* widget) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        QAccessibleTextInterface* text = face ? face->textInterface() : nullptr;
        return text ? text->text(0, text->characterCount()) : QString();
    }
    static QString Q(std::u16string_view text) {
        return QString(reinterpret_cast<const QChar*>(text.data()),
                       static_cast<qsizetype>(text.size()));
    }
};

} // namespace

// A screen reader must be able to tell the 64 boxes apart: each names its
// item, the statement and the answer it gives.
TEST_F(AccessibilityTest, EveryCheckBoxNamesItsItemAndAnswer) {
    Dispatch([] {
        StartUp();
        The<Form2>().Check(1).Value(); // loads page 2, hidden
    });
    QSet<QString> descriptions;
    for (platform::Form* page : {static_cast<platform::Form*>(&The<Form1>()),
                                 static_cast<platform::Form*>(&The<Form2>())}) {
        const int pageNumber = page == &The<Form1>() ? 1 : 2;
        for (int box = 1; box <= logic::kBoxesPerPage; ++box) {
            const std::string name = "Check" + std::to_string(box);
            auto* check = Find<QCheckBox>(*page, name.c_str());
            ASSERT_NE(check, nullptr);
            const QString answer = box % 2 == 1 ? Q(u"はい") : Q(u"いいえ");
            const int item = logic::ItemAt(pageNumber, (box + 1) / 2);
            EXPECT_EQ(Accessible(check, QAccessible::Name), answer);
            const QString description = Accessible(check, QAccessible::Description);
            EXPECT_TRUE(description.contains(Q(logic::ItemStatement(item)))) << name;
            EXPECT_TRUE(description.endsWith(answer)) << name;
            QString number = QString::number(item);
            for (QChar& digit : number)
                digit = QChar(digit.unicode() + 0xFEE0); // full width
            EXPECT_TRUE(description.startsWith(Q(u"項目") + number + Q(u"："))) << name;
            descriptions.insert(description);
        }
    }
    EXPECT_EQ(descriptions.size(), 2 * logic::kBoxesPerPage) << "two boxes read alike";
}

TEST_F(AccessibilityTest, DialogLinesAndResultParagraphsAreReadable) {
    Dispatch([] {
        The<Form3>().Show();
        The<Form5>().Show();
    });
    EXPECT_EQ(Accessible(Find(The<Form3>(), "Label1"), QAccessible::Name),
              Q(u"チェックが重複しているか，"));
    EXPECT_EQ(Accessible(Find(The<Form3>(), "Label3"), QAccessible::Name), Q(u"確認して下さい．"));
    EXPECT_EQ(Accessible(Find(The<Form3>(), "Command1"), QAccessible::Name), Q(u"OK"));
    EXPECT_EQ(Accessible(Find(The<Form5>(), "Label2"), QAccessible::Name), Q(u"安全運転診断結果"));
    for (int i = 0; i < 4; ++i) {
        const std::string name = "Text" + std::to_string(i + 1);
        EXPECT_EQ(Content(Find(The<Form5>(), name.c_str())),
                  Q(paragraphs::kTypeA[static_cast<std::size_t>(i)]))
            << name;
    }
}
