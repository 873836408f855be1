#pragma once

#include <QAbstractButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "Form.h"
#include "Runtime.h"

namespace tolvane::test {

// A fresh run of the program for each test: its own runtime, so every screen
// starts unloaded and the diagnosis state at zero. Error reports are recorded
// instead of waiting for a user.
class ProgramTest : public ::testing::Test {
protected:
    struct Report {
        QString title;
        QString text;
        bool modal;
    };

    ProgramTest();
    ~ProgramTest() override;

    platform::Runtime& runtime() { return *runtime_; }
    const std::vector<Report>& reports() const { return reports_; }

    // Runs `handler` the way the event loop would, through the dispatch point.
    void Dispatch(const std::function<void()>& handler) { runtime_->Dispatch(handler); }

    // The control `name` of a loaded screen; fails the test if it is missing.
    template <class Widget = QWidget>
    static Widget* Find(const platform::Form& form, const char* name) {
        QWidget* window = form.Window();
        if (!window) {
            ADD_FAILURE() << form.Name() << " is not loaded";
            return nullptr;
        }
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget) ADD_FAILURE() << form.Name() << " has no " << name;
        return widget;
    }

    // A real left click in the middle of a control.
    static void Click(const platform::Form& form, const char* name);

private:
    std::unique_ptr<platform::Runtime> runtime_;
    std::vector<Report> reports_;
};

} // namespace tolvane::test
