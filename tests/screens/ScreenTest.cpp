#include "ScreenTest.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <string>

#include "ItemCatalogue.h"
#include "Screens.h"

namespace tolvane::test {
namespace {

bool IsScreen(const QWidget* window) {
    return window->isWindow() && window->objectName().startsWith(QLatin1String("Form"));
}

QStringList Screens(bool visibleOnly) {
    QStringList names;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (IsScreen(window) && (!visibleOnly || window->isVisible()))
            names << window->objectName();
    }
    names.sort();
    return names;
}

std::string BoxName(int box) { return "Check" + std::to_string(box); }

} // namespace

AnswerPattern AllYes() {
    return [](int) { return Tick::Yes; };
}

AnswerPattern AllNo() {
    return [](int) { return Tick::No; };
}

AnswerPattern YesTo(std::set<int> items) {
    return [items = std::move(items)](int item) {
        return items.contains(item) ? Tick::Yes : Tick::No;
    };
}

void ScreenTest::Start() { Dispatch(screens::StartUp); }

QStringList ScreenTest::LoadedScreens() { return Screens(false); }

QStringList ScreenTest::VisibleScreens() { return Screens(true); }

void ScreenTest::Answer(platform::Form& page, int pageNumber, const AnswerPattern& pattern) {
    for (int k = 1; k <= logic::kItemsPerPage; ++k) {
        const Tick tick = pattern(logic::ItemAt(pageNumber, k));
        const bool wanted[] = {tick == Tick::Yes || tick == Tick::Both,
                               tick == Tick::No || tick == Tick::Both};
        const int boxes[] = {logic::YesBox(k), logic::NoBox(k)};
        for (int i = 0; i < 2; ++i) {
            const std::string name = BoxName(boxes[i]);
            auto* box = Find<QCheckBox>(page, name.c_str());
            ASSERT_NE(box, nullptr);
            if (box->isChecked() != wanted[i]) Click(page, name.c_str());
            ASSERT_EQ(box->isChecked(), wanted[i]) << page.Name() << "." << name;
        }
    }
}

std::vector<Tick> ScreenTest::TicksOn(const platform::Form& page) {
    std::vector<Tick> ticks;
    for (int k = 1; k <= logic::kItemsPerPage; ++k) {
        auto* yes = Find<QCheckBox>(page, BoxName(logic::YesBox(k)).c_str());
        auto* no = Find<QCheckBox>(page, BoxName(logic::NoBox(k)).c_str());
        if (!yes || !no) return {};
        const bool y = yes->isChecked();
        const bool n = no->isChecked();
        ticks.push_back(y && n ? Tick::Both : y ? Tick::Yes : n ? Tick::No : Tick::None);
    }
    return ticks;
}

std::vector<Tick> ScreenTest::Expected(int pageNumber, const AnswerPattern& pattern) {
    std::vector<Tick> ticks;
    for (int k = 1; k <= logic::kItemsPerPage; ++k)
        ticks.push_back(pattern(logic::ItemAt(pageNumber, k)));
    return ticks;
}

void ScreenTest::Press(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the keyboard focus";
    QTest::keyClick(focus, key);
}

void ScreenTest::TabTo(const platform::Form& form, const char* name) {
    for (int presses = 0; presses < 100; ++presses) {
        if (FocusIn(form) == QLatin1String(name)) return;
        Press(Qt::Key_Tab);
    }
    FAIL() << "Tab never reaches " << form.Name() << "." << name;
}

QString ScreenTest::TextOf(const platform::Form& form, const char* name) {
    QWidget* box = Find(form, name);
    if (const auto* rich = qobject_cast<QTextEdit*>(box)) return rich->toPlainText();
    if (const auto* plain = qobject_cast<QPlainTextEdit*>(box)) return plain->toPlainText();
    ADD_FAILURE() << form.Name() << "." << name << " is not a text box";
    return {};
}

QString ScreenTest::FocusIn(const platform::Form& form) {
    const QWidget* window = form.Window();
    const QWidget* focus = window ? window->focusWidget() : nullptr;
    return focus ? focus->objectName() : QString();
}

} // namespace tolvane::test
