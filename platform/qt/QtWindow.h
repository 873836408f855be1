#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

#include "Window.h"

namespace tolvane::platform {

class Form;

// The window of a loaded screen, null before: for tests and screenshots.
QWidget* WidgetOf(const Form& form);

QString ToQString(std::u16string_view text);

} // namespace tolvane::platform
