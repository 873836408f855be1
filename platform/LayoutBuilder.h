#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "Layout.h"

namespace tolvane::platform {

// A screen's window. A close request from the frame never closes it: the
// screen decides what the request means.
class FormWindow final : public QWidget {
public:
    FormWindow() = default;
    void SetCloseRequestHandler(std::function<void()> handler) {
        onCloseRequest_ = std::move(handler);
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> onCloseRequest_;
};

struct BuiltControl {
    const ControlSpec* design;
    QWidget* widget;
};

struct BuiltForm {
    std::unique_ptr<FormWindow> window;
    std::vector<BuiltControl> controls; // in table order
    QWidget* firstInTabOrder = nullptr; // the control that takes the focus first
};

// Builds the window and every control of a layout, hidden.
BuiltForm BuildForm(const FormSpec& layout);

QString ToQString(std::u16string_view text);

} // namespace tolvane::platform
