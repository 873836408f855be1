#pragma once

#include <QCheckBox>
#include <QStringList>
#include <functional>
#include <ostream>
#include <set>

#include "Form.h"
#include "ProgramTest.h"

// Readable failure messages for the texts the tests compare.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{' << list.join(", ").toStdString() << '}';
}

// Drives the screens the way a user does: real clicks and key presses on
// widgets found by their names, and what the user can see read back.
namespace tolvane::test {

enum class Tick { None, Yes, No, Both };

// The tick wanted for each item number (1 to 32).
using AnswerPattern = std::function<Tick(int item)>;

AnswerPattern AllYes();
AnswerPattern AllNo();
// Yes to the listed items, no to the rest.
AnswerPattern YesTo(std::set<int> items);

class ScreenTest : public ProgramTest {
protected:
    // Starts the program as the runtime does.
    void Start();

    // Names of the screens whose windows exist, or are on show, sorted.
    static QStringList LoadedScreens();
    static QStringList VisibleScreens();

    // Clicks the boxes of the page's items (page 1 or 2) as the pattern says;
    // boxes that already hold the wanted state are left alone.
    void Answer(platform::Form& page, int pageNumber, const AnswerPattern& pattern);
    // The ticks on the page as the user sees them.
    static std::vector<Tick> TicksOn(const platform::Form& page);
    static std::vector<Tick> Expected(int pageNumber, const AnswerPattern& pattern);

    // A key press to whatever has the keyboard focus.
    static void Press(Qt::Key key);
    // Presses Tab until `name` has the focus; fails after a full round.
    static void TabTo(const platform::Form& form, const char* name);
    // The contents of a text box.
    static QString TextOf(const platform::Form& form, const char* name);
    // Name of the control that has (or will have, once active) the focus in the window.
    static QString FocusIn(const platform::Form& form);
};

} // namespace tolvane::test
