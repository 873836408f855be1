// The floor under tolvane.exe's start-up: a plain Win32 window of page 1's
// size drawing page 1's texts in two static controls, the title in the
// fixed-pitch Gothic face and everything else in the proportional one.
#include <windows.h>

#include <string>

#include "ItemCatalogue.h"
#include "SourceNote.h"

static std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }

static HFONT Font(const wchar_t* face, int pixels, int weight) {
    return CreateFontW(-pixels, 0, 0, 0, weight, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face);
}

int main() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW type{};
    type.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, w, l);
    };
    type.hInstance = instance;
    type.hbrBackground = CreateSolidBrush(RGB(192, 192, 192));
    type.lpszClassName = L"Floor";
    RegisterClassW(&type);
    RECT frame{0, 0, 694, 498};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    const wchar_t* title = L"安全運転自己診断－１";
    HWND window = CreateWindowW(L"Floor", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance, nullptr);
    std::wstring rest = Wide(tolvane::screens::kSourceNote) + L"\n";
    for (int item = 1; item <= 16; ++item)
        rest += Wide(tolvane::logic::ItemCaption(item)) + L"　はい　いいえ\n";
    rest += L"次へ　キャンセル　終了　by Zenth 2000";
    HWND heading = CreateWindowW(L"STATIC", title, WS_CHILD | WS_VISIBLE, 24, 8, 221, 21, window,
                                 nullptr, instance, nullptr);
    HWND body = CreateWindowW(L"STATIC", rest.c_str(), WS_CHILD | WS_VISIBLE, 40, 40, 640, 450,
                              window, nullptr, instance, nullptr);
    SendMessageW(heading, WM_SETFONT, WPARAM(Font(L"ＭＳ ゴシック", 21, FW_BOLD)), FALSE);
    SendMessageW(body, WM_SETFONT, WPARAM(Font(L"ＭＳ Ｐゴシック", 12, FW_NORMAL)), FALSE);
    ShowWindow(window, SW_SHOW);
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0;)
        DispatchMessageW(&msg);
}
