#include <windows.h>

#include <string>
#include <vector>

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

void QuitEventLoop(int status, std::u16string_view) { PostQuitMessage(status); }

void PresentErrorReport(const ErrorReport& report, std::function<void()> dismissed) {
    const std::wstring title(report.title.begin(), report.title.end());
    const std::wstring text(report.text.begin(), report.text.end());
    // Owned by the screen the user is in, the box opens over that screen; but
    // with an owner, task-modal disables only the owner, so every other window
    // of the program is made to wait for the user's OK here.
    HWND owner = ActiveScreen();
    std::vector<HWND> waiting;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) {
            if (IsWindowVisible(window) && IsWindowEnabled(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&waiting));
    std::erase(waiting, owner);
    for (HWND window : waiting)
        EnableWindow(window, FALSE);
    MessageBoxW(owner, text.c_str(), title.c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    for (HWND window : waiting)
        EnableWindow(window, TRUE);
    dismissed();
}

} // namespace tolvane::platform
