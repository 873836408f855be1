#pragma once

#include <QString>
#include <memory>

class QMessageBox;

namespace tolvane {
class RuntimeError;
}

namespace tolvane::platform {

// The text of the report that ends the program after a runtime error.
QString ErrorReportText(const RuntimeError& error);

// The report as a modal message box titled "tolvane".
std::unique_ptr<QMessageBox> BuildErrorReport(const RuntimeError& error);

} // namespace tolvane::platform
