#pragma once

#include <QApplication>
#include <QStringList>
#include <ostream>
#include <string>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ProgramTest.h"
#include "ResultScreens.h"
#include "Screens.h"

// Readable failure messages for the texts the tests compare.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tolvane::test {

// One of the nine screens, with its layout table.
struct ScreenEntry {
    platform::Form& (*form)();
    const platform::FormSpec& (*layout)();
    friend void PrintTo(const ScreenEntry& screen, std::ostream* out) {
        *out << screen.layout().name;
    }
};

template <class T>
platform::Form& Instance() {
    return screens::The<T>();
}

template <class... T>
constexpr std::array<ScreenEntry, sizeof...(T)> Entries() {
    return {ScreenEntry{&Instance<T>, &T::Layout}...};
}

// Form1 to Form9: the pages, their dialogs, the result screens A to E.
inline const auto kScreens =
    Entries<screens::Form1, screens::Form2, screens::Form3, screens::Form4, screens::Form5,
            screens::Form6, screens::Form7, screens::Form8, screens::Form9>();

inline std::string Numbered(const char* prefix, int n) { return prefix + std::to_string(n); }

class ScreenTest : public ProgramTest {
protected:
    void ShowAll() {
        for (const ScreenEntry& screen : kScreens)
            Dispatch([&screen] { screen.form().Show(); });
    }

    // Names of the screens on show, sorted.
    static QStringList VisibleScreens() {
        QStringList names;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->objectName().startsWith(QLatin1String("Form")))
                names << window->objectName();
        }
        names.sort();
        return names;
    }

    static QString FocusIn(const platform::Form& form) {
        const QWidget* focus = form.Window() ? form.Window()->focusWidget() : nullptr;
        return focus ? focus->objectName() : QString();
    }

    // A key press to whatever has the keyboard focus.
    static void Press(Qt::Key key) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "nothing has the keyboard focus";
        QTest::keyClick(focus, key);
    }
};

} // namespace tolvane::test
