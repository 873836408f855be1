#include <windows.h>

#include "Application.h"
#include "Runtime.h"
#include "Win32Window.h"
#include "Window.h"

namespace tolvane::platform {

std::shared_ptr<void> StartToolkit(int, char*[]) {
    // The common controls come in their current version and the windows at
    // each monitor's own dpi through the executable's manifest.
    SetUpWin32();
    return nullptr;
}

std::optional<int> RunEventLoop() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0)
        ProcessMessage(msg);
    return got == 0 ? static_cast<int>(msg.wParam) : kErrorExitStatus;
}

void QuitEventLoop(int status) { PostQuitMessage(status); }

void PresentErrorReport(const ErrorReport& report, std::function<void()> dismissed) {
    const std::wstring title(report.title.begin(), report.title.end());
    const std::wstring text(report.text.begin(), report.text.end());
    // Task-modal: every window of the program waits for the user's OK. Owned
    // by the screen the user is in, it opens over that screen.
    MessageBoxW(ActiveScreen(), text.c_str(), title.c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    dismissed();
}

} // namespace tolvane::platform
