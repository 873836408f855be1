// The driver on the Win32 binding, and the Windows test program's main: input
// goes in as the window messages a user's mouse and keyboard make, and what
// the user sees is read back from the windows.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

#include "Form.h"
#include "Walk.h"
#include "Win32Window.h"

namespace tolvane::check {
namespace {

using platform::Form;

HWND Control(Screen screen, const std::string& name) {
    const Form& form = FormOf(screen);
    return platform::ControlHwnd(form, IndexOf(form, name));
}

std::u16string WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return {text.begin(), text.end()};
}

// Key messages carry a repeat count of 1 and the key's scan code; a release
// also says the key was down.
LPARAM KeyBits(UINT key, bool up) {
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    return 1 | scan << 16 | (up ? LPARAM(3) << 30 : 0);
}

void PressKey(HWND target, UINT key) {
    PostMessageW(target, WM_KEYDOWN, key, KeyBits(key, false));
    PostMessageW(target, WM_KEYUP, key, KeyBits(key, true));
}

// A report's message box runs a loop of its own inside the action that
// failed: a thread timer, which runs in any loop, reads it and clicks its OK.
std::vector<std::u16string> reports;
void CALLBACK WatchForReports(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM) {
            wchar_t kind[8] = {};
            GetClassNameW(box, kind, 8);
            if (!IsWindowVisible(box) || std::wstring_view(kind) != L"#32770") return TRUE;
            reports.push_back(WindowText(box) + u" " + WindowText(GetDlgItem(box, 0xFFFF)));
            SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            return FALSE;
        },
        0);
}

class Win32Driver final : public Driver {
public:
    Win32Driver() { SetTimer(nullptr, 0, 5, WatchForReports); }
    void Settle() override {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            platform::ProcessMessage(msg);
    }

    void Press(Screen screen, const std::string& name, Input input, double at) override {
        HWND control = Control(screen, name);
        if (input == Input::Mouse) return ClickAt(control, at);
        SetFocus(control);
        PressKey(control, input == Input::Space ? VK_SPACE : VK_RETURN);
        Settle();
    }

    void Type(Screen screen, int box, const std::u16string& text, Input input) override {
        ClickAt(Control(screen, "Text" + std::to_string(box)), 0.5);
        // The keys go wherever the focus is: the box only if the click put it there.
        HWND target = platform::FocusIn(FormOf(screen));
        if (!target) target = platform::HwndOf(FormOf(screen));
        WithKeyDown(VK_CONTROL, [&] { PressKey(target, VK_END); });
        Enter(target, text, input == Input::Enter ? WM_IME_CHAR : WM_CHAR);
        Settle();
    }

    void Close(Screen screen) override {
        PostMessageW(platform::HwndOf(FormOf(screen)), WM_SYSCOMMAND, SC_CLOSE, 0);
        Settle();
    }

    void Tab(Screen screen, bool back) override {
        HWND target = platform::FocusIn(FormOf(screen));
        WithKeyDown(back ? VK_SHIFT : 0,
                    [&] { PressKey(target ? target : platform::HwndOf(FormOf(screen)), VK_TAB); });
    }

    std::u16string Text(Screen screen, const std::string& name) override {
        const Form& form = FormOf(screen);
        const std::size_t i = IndexOf(form, name);
        if (i == form.Layout().controls.size()) return u"(none)";
        std::u16string text = WindowText(platform::ControlHwnd(form, i));
        std::erase(text, u'\r'); // an edit control breaks lines with CR LF; no caption has one
        return text;
    }

    bool Loaded(Screen screen) override { return platform::HwndOf(FormOf(screen)); }
    bool Shown(Screen screen) override { return IsWindowVisible(platform::HwndOf(FormOf(screen))); }
    std::pair<int, int> OffCentre(Screen screen) override {
        RECT frame, work;
        GetWindowRect(platform::HwndOf(FormOf(screen)), &frame);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return {int(frame.left + frame.right - work.left - work.right) / 2,
                int(frame.top + frame.bottom - work.top - work.bottom) / 2};
    }
    int Ticked(Screen screen, int box) override {
        const LRESULT drawn =
            SendMessageW(Control(screen, "Check" + std::to_string(box)), BM_GETCHECK, 0, 0);
        return drawn == BST_CHECKED ? 1 : drawn == BST_INDETERMINATE ? 2 : 0;
    }
    std::string Focus(Screen screen) override {
        const Form& form = FormOf(screen);
        HWND focus = platform::FocusIn(form);
        for (std::size_t i = 0; focus && i < form.Layout().controls.size(); ++i) {
            if (platform::ControlHwnd(form, i) == focus) return form.Layout().controls[i].name;
        }
        return "";
    }

    // What the window's colour handler sets, for text boxes as for the rest.
    std::pair<platform::Rgb, platform::Rgb> Drawn(Screen screen, const std::string& name) override {
        HWND control = Control(screen, name);
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(GetParent(control), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(control));
        const COLORREF text = GetTextColor(dc), back = GetBkColor(dc);
        DeleteDC(dc);
        return {{GetRValue(text), GetGValue(text), GetBValue(text)},
                {GetRValue(back), GetGValue(back), GetBValue(back)}};
    }
    void DarkScheme(bool on) override { // High Contrast Black's, as the user would set them
        static const int elements[]{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT,
                                    COLOR_GRAYTEXT};
        static const COLORREF dark[]{0, 0xFFFFFF, 0, 0xFFFFFF, 0x3FF23F};
        static COLORREF usual[5];
        if (on) std::transform(elements, elements + 5, usual, GetSysColor);
        SetSysColors(5, elements, on ? dark : usual), Settle();
    }
    std::vector<std::u16string> Reports() override { return Settle(), std::exchange(reports, {}); }

private:
    // A left click at `at` along the control's width, on its vertical centre,
    // delivered to whatever lies in front there, as the mouse's would be.
    void ClickAt(HWND control, double at) {
        RECT box;
        GetClientRect(control, &box);
        POINT point{std::min(LONG(at * box.right), box.right - 1), box.bottom / 2};
        MapWindowPoints(control, GetParent(control), &point, 1);
        HWND parent = GetParent(control);
        HWND target = ChildWindowFromPointEx(parent, point, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (!target) target = parent;
        MapWindowPoints(parent, target, &point, 1);
        const LPARAM where = MAKELPARAM(point.x, point.y);
        PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(target, WM_LBUTTONUP, 0, where);
        Settle();
    }

    // Posted keys leave the keyboard state alone: a modifier held down is
    // set in it while they are handled.
    template <class Keys>
    void WithKeyDown(BYTE modifier, Keys keys) {
        BYTE state[256];
        GetKeyboardState(state);
        state[modifier] = 0x80;
        SetKeyboardState(state);
        keys();
        Settle();
        state[modifier] = 0;
        SetKeyboardState(state);
    }

    // Key by key: Return and Space as keys, every other character as what
    // the keyboard layout or input method hands the window. An input-method
    // commit arrives as its characters.
    void Enter(HWND target, const std::u16string& text, UINT message) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (message == WM_CHAR && (c == u'\n' || c == u' ')) {
                // Its character is queued once the key is handled: wait for it.
                PressKey(target, c == u'\n' ? VK_RETURN : VK_SPACE);
                Settle();
            } else {
                PostMessageW(target, message, c == u'\n' ? u'\r' : c, 1);
            }
            if (i % 512 == 511) Settle(); // the queue holds a bounded number of messages
        }
    }
};

} // namespace

Driver& TheDriver() {
    static Win32Driver driver;
    return driver;
}

// Form1 at 144 dpi: the suggested place in one move, the layout's client size,
// every control redrawn; the children, in the order screen readers read them,
// by id as in the table but where one overlaps a control before it.
TEST(Win32, ScaleChangeRedrawsEveryControlAndChildrenStayInTableOrder) {
    Program program;
    const auto& layout = FormOf(Screen::Form1).Layout();
    HWND window = platform::HwndOf(FormOf(Screen::Form1)), next;
    RECT client, frame,
        want{0, 0, layout.clientWidth / 10, layout.clientHeight / 10}; // twips at 144 dpi
    GetClientRect(window, &client), GetWindowRect(window, &frame);
    RECT at{40, 30, 40 + want.right + frame.right - frame.left - client.right,
            30 + want.bottom + frame.bottom - frame.top - client.bottom};
    TheDriver().Settle(); // every control painted
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&at));
    for (HWND c = GetWindow(window, GW_CHILD); c; c = next) {
        RECT a{}, b{}, common;
        next = GetWindow(c, GW_HWNDNEXT);
        EXPECT_TRUE(!IsWindowVisible(c) || GetUpdateRect(c, nullptr, FALSE)) << GetDlgCtrlID(c);
        GetWindowRect(c, &a), GetWindowRect(next, &b);
        EXPECT_TRUE(!next || GetDlgCtrlID(c) < GetDlgCtrlID(next) ||
                    IntersectRect(&common, &a, &b));
    }
    GetClientRect(window, &client), GetWindowRect(window, &frame);
    EXPECT_TRUE(EqualRect(&client, &want) && frame.left == 40 && frame.top == 30);
}

} // namespace tolvane::check

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    tolvane::platform::SetUpWin32(); // as the program does before its first screen
    tolvane::check::TheDriver();     // watching for error reports from the start
    return RUN_ALL_TESTS();
}
