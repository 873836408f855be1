#include "ProgramTest.h"

#include <QMessageBox>

namespace tolvane::test {

ProgramTest::ProgramTest() : runtime_(std::make_unique<platform::Runtime>()) {
    runtime_->SetErrorPresenter([this](QMessageBox& box) {
        reports_.push_back(
            {box.windowTitle(), box.text(), box.windowModality() == Qt::ApplicationModal});
    });
}

ProgramTest::~ProgramTest() = default;

void ProgramTest::Click(const platform::Form& form, const char* name) {
    QWidget* widget = Find(form, name);
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible()) << form.Name() << "." << name << " is not visible";
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

} // namespace tolvane::test
