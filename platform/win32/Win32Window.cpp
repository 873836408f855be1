#include "Win32Window.h"

#include <algorithm>
#include <commctrl.h>
#include <objbase.h>
#include <stdexcept>
#include <string>
#include <vector>

#include "Colours.h"
#include "Controls.h"
#include "Fonts.h"
#include "Form.h"
#include "FormRules.h"
#include "Placement.h"
#include "Twips.h"
#include "Window.h"

namespace tolvane::platform {
namespace {

constexpr wchar_t kFormClass[] = L"TolvaneForm";
// Control i of a table has the child id kFirstId + i.
constexpr int kFirstId = 100;

ATOM formClass = 0;
// The screen the user was in last, while it exists: new screens open on its
// monitor.
HWND lastActive = nullptr;

// Whether the page grey gives way to the system's window colours: under high
// contrast, or where the system's text would not read on the grey.
bool SystemColoursWanted() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    return PageGreyGivesWay(high, {GetRValue(text), GetGValue(text), GetBValue(text)});
}

// The monitor of the screen the user is in or was in last, else the primary.
HMONITOR ScreenMonitor() {
    HWND active = GetActiveWindow();
    if (!active || GetClassLongW(active, GCW_ATOM) != formClass) active = lastActive;
    if (active) return MonitorFromWindow(active, MONITOR_DEFAULTTOPRIMARY);
    return MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

class Win32Window final : public Window {
public:
    Win32Window(const FormSpec& layout, Events events);
    ~Win32Window() override;

    bool IsVisible() const override { return IsWindowVisible(hwnd_); }
    void Show(bool first, std::optional<std::size_t> focus) override;
    void Hide() override { ShowWindow(hwnd_, SW_HIDE); }
    void SetTitle(std::u16string_view title) override {
        SetWindowTextW(hwnd_, Wide(title).c_str());
    }
    void SetCaption(std::size_t control, std::u16string_view caption) override;
    void SetText(std::size_t control, std::u16string_view text) override {
        SetWindowTextW(controls_[control], ForEdit(text).c_str());
    }
    CheckState Value(std::size_t control) const override {
        return static_cast<CheckState>(SendMessageW(controls_[control], BM_GETCHECK, 0, 0));
    }
    void SetValue(std::size_t control, CheckState state) override {
        SendMessageW(controls_[control], BM_SETCHECK, WPARAM(state), 0);
    }
    void SetFocus(std::size_t control) override { ::SetFocus(controls_[control]); }

    HWND Hwnd() const { return hwnd_; }
    void Attach(HWND hwnd) { hwnd_ = hwnd; } // while the window is being created
    HWND Control(std::size_t control) const { return controls_.at(control); }
    HWND Focused() const;
    // Keyboard rules of the screens; false where the key is the control's own.
    bool HandleKey(const MSG& msg);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void CreateControls();
    const ControlSpec* DesignOf(HWND control) const;
    // Sizes the window and places every control, with its font, for `dpi`,
    // then redraws them all. `frame`, where given, is the window's new place.
    void Arrange(int dpi, const RECT* frame = nullptr);
    SIZE FrameSize(int dpi) const;
    void Restack();
    void FitLabel(std::size_t control);
    // The page grey, or the system's window colour where the grey gives way.
    HBRUSH PageBrush() const { return systemColours_ ? GetSysColorBrush(COLOR_WINDOW) : pageGrey_; }
    COLORREF PageColour() const {
        return systemColours_ ? GetSysColor(COLOR_WINDOW) : RGB(kPageGrey, kPageGrey, kPageGrey);
    }
    void CentreOnScreen();
    void Tab(bool backwards);
    LRESULT Colour(UINT message, WPARAM wParam, LPARAM lParam);

    const FormSpec& layout_;
    Events events_;
    HWND hwnd_ = nullptr;
    HBRUSH pageGrey_ = nullptr;
    std::vector<HWND> controls_;        // in table order
    std::vector<std::size_t> tabOrder_; // the controls that take the focus, by tab index
    HWND lastFocus_ = nullptr;
    int dpi_ = kDesignDpi;
    bool systemColours_ = false;
};

Win32Window* WindowOf(HWND hwnd) {
    if (!hwnd || GetClassLongW(hwnd, GCW_ATOM) != formClass) return nullptr;
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<Win32Window*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->Attach(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    if (Win32Window* window = WindowOf(hwnd)) return window->Handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

DWORD FrameStyle(const FormSpec& layout) {
    // Without a control box: a caption bar and a sizing frame, but no system
    // menu and so no close, minimise or maximise button.
    return (layout.controlBox ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME) |
           WS_CLIPCHILDREN;
}

Win32Window::Win32Window(const FormSpec& layout, Events events)
    : layout_(layout), events_(std::move(events)) {
    SetUpWin32();
    pageGrey_ = CreateSolidBrush(RGB(kPageGrey, kPageGrey, kPageGrey));
    systemColours_ = SystemColoursWanted();
    // Made on the monitor where it will be centred, so that it starts at that
    // monitor's dpi.
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(ScreenMonitor(), &monitor);
    hwnd_ = CreateWindowExW(0, kFormClass, Wide(layout.caption).c_str(), FrameStyle(layout),
                            monitor.rcWork.left, monitor.rcWork.top, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        DeleteObject(pageGrey_);
        throw std::runtime_error(layout.name + " could not be created");
    }
    try {
        CreateControls();
    } catch (...) {
        // No window may outlive its object, nor point back to it.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        DeleteObject(pageGrey_);
        throw;
    }
    // The focus is always shown, not only once the keyboard has been used.
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    Arrange(static_cast<int>(GetDpiForWindow(hwnd_)));
}

void Win32Window::CreateControls() {
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        controls_.push_back(
            CreateControl(layout_.controls[i], hwnd_, kFirstId + static_cast<int>(i)));
    }
    tabOrder_ = TabOrder(layout_);
}

// New children go below their siblings, so the child order is the table's,
// which is the order screen readers present them in. Only a control that
// overlaps an earlier one moves: just in front of the frontmost of those, so
// that where controls meet the later one lies in front.
void Win32Window::Restack() {
    for (std::size_t i = 1; i < controls_.size(); ++i) {
        RECT mine, theirs, common;
        GetWindowRect(controls_[i], &mine);
        std::vector<HWND> below;
        for (std::size_t j = 0; j < i; ++j) {
            GetWindowRect(controls_[j], &theirs);
            if (IntersectRect(&common, &mine, &theirs)) below.push_back(controls_[j]);
        }
        if (below.empty()) continue;
        for (HWND z = GetWindow(controls_[i], GW_HWNDFIRST); z && z != controls_[i];
             z = GetWindow(z, GW_HWNDNEXT)) {
            if (std::find(below.begin(), below.end(), z) == below.end()) continue;
            HWND before = GetWindow(z, GW_HWNDPREV);
            SetWindowPos(controls_[i], before ? before : HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        }
    }
}

Win32Window::~Win32Window() {
    if (lastActive == hwnd_) lastActive = nullptr;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    DeleteObject(pageGrey_);
}

void Win32Window::Arrange(int dpi, const RECT* frame) {
    dpi_ = dpi;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlSpec& design = layout_.controls[i];
        HWND control = controls_[i];
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(FontOf(design), dpi)),
                     FALSE);
        if (design.kind == ControlKind::Line) {
            const PixelBox r = LineEnds(design.box, dpi).Bounds();
            MoveWindow(control, r.x, r.y, r.width, r.height, FALSE);
            continue;
        }
        const PixelBox box = TwipsToPixels(design.box, dpi);
        MoveWindow(control, box.x, box.y, box.width, box.height, FALSE);
        if (design.kind == ControlKind::Label) FitLabel(i);
        if (design.kind == ControlKind::TextBox) {
            const int margin = TwipsToPixels(15, dpi);
            SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(margin, margin));
        }
    }
    if (frame) {
        // In one move, so that the window does not bounce between two monitors.
        SetWindowPos(hwnd_, nullptr, frame->left, frame->top, frame->right - frame->left,
                     frame->bottom - frame->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const SIZE size = FrameSize(dpi);
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Restack();
    // The window clips its children: each is redrawn, none keeps old pixels.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

SIZE Win32Window::FrameSize(int dpi) const {
    RECT frame{0, 0, TwipsToPixels(layout_.clientWidth, dpi),
               TwipsToPixels(layout_.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, FrameStyle(layout_), FALSE, 0, static_cast<UINT>(dpi));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void Win32Window::FitLabel(std::size_t control) {
    HWND label = controls_[control];
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, text.data(), length + 1);
    HDC dc = GetDC(label);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT box;
    GetClientRect(label, &box);
    const PixelSize fit =
        LabelSize(layout_.controls[control], {box.right, box.bottom}, {size.cx, metrics.tmHeight});
    SetWindowPos(label, nullptr, 0, 0, fit.width, fit.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SetCaption(std::size_t control, std::u16string_view caption) {
    SetWindowTextW(controls_[control], Wide(caption).c_str());
    if (layout_.controls[control].kind == ControlKind::Label) FitLabel(control);
}

void Win32Window::Show(bool first, std::optional<std::size_t> focus) {
    if (first) CentreOnScreen();
    ShowWindow(hwnd_, SW_SHOW);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    if (focus) ::SetFocus(controls_[*focus]);
}

// The whole window, frame included, in the middle of the work area of the
// monitor the user is on.
void Win32Window::CentreOnScreen() {
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(ScreenMonitor(), &monitor);
    const RECT& work = monitor.rcWork;
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    const Position at =
        OpeningPosition(frame.right - frame.left, frame.bottom - frame.top,
                        {work.left, work.top, work.right - work.left, work.bottom - work.top});
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const ControlSpec* Win32Window::DesignOf(HWND control) const {
    const auto found = std::find(controls_.begin(), controls_.end(), control);
    if (found == controls_.end()) return nullptr;
    return &layout_.controls[static_cast<std::size_t>(found - controls_.begin())];
}

HWND Win32Window::Focused() const {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) return focus;
    return GetActiveWindow() == hwnd_ ? nullptr : lastFocus_;
}

void Win32Window::Tab(bool backwards) {
    const auto at = std::find(controls_.begin(), controls_.end(), GetFocus());
    std::optional<std::size_t> from;
    if (at != controls_.end()) from = static_cast<std::size_t>(at - controls_.begin());
    if (const auto next = NextInTabOrder(tabOrder_, from, backwards)) ::SetFocus(controls_[*next]);
}

bool Win32Window::HandleKey(const MSG& msg) {
    // Enter on the keypad is VK_RETURN too.
    const Key key = msg.wParam == VK_TAB      ? Key::Tab
                    : msg.wParam == VK_RETURN ? Key::Enter
                    : msg.wParam == VK_F4     ? Key::F4
                                              : Key::Other;
    const KeyPress press{key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                         (HIWORD(msg.lParam) & KF_ALTDOWN) != 0, (msg.lParam & (1 << 30)) != 0};
    const ControlSpec* design = DesignOf(msg.hwnd);
    const KeyAction action = KeyRule(press, design ? std::optional(design->kind) : std::nullopt);
    switch (action) {
    case KeyAction::Native: return false;
    case KeyAction::Swallow: return true;
    case KeyAction::FocusNext:
    case KeyAction::FocusPrevious: Tab(action == KeyAction::FocusPrevious); return true;
    case KeyAction::Press:
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(msg.hwnd), BN_CLICKED),
                     reinterpret_cast<LPARAM>(msg.hwnd));
        return true;
    case KeyAction::CloseRequest: events_.closeRequest(); return true;
    }
    return false;
}

LRESULT Win32Window::Colour(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    const ControlSpec* design = DesignOf(control);
    if (design && design->style & kPageBackground) {
        const Rgb dim = kDisabledTextRgb;
        SetTextColor(dc, IsWindowEnabled(control) ? GetSysColor(COLOR_WINDOWTEXT)
                         : systemColours_         ? GetSysColor(COLOR_GRAYTEXT)
                                                  : RGB(dim.red, dim.green, dim.blue));
        SetBkColor(dc, PageColour());
        SetBkMode(dc, OPAQUE);
        return reinterpret_cast<LRESULT>(PageBrush());
    }
    if (design && design->kind == ControlKind::TextBox)
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    // Labels and check boxes: opaque, in the button colours.
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT Win32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: events_.closeRequest(); return 0;
    case WM_SYSCOMMAND:
        // The frame's close button or menu: the screen decides, nothing is destroyed.
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            events_.closeRequest();
            return 0;
        }
        break;
    case WM_COMMAND: {
        const int id = LOWORD(wParam) - kFirstId;
        if (HIWORD(wParam) != BN_CLICKED || id < 0 || id >= static_cast<int>(controls_.size()))
            break;
        const auto i = static_cast<std::size_t>(id);
        if (layout_.controls[i].kind == ControlKind::CheckBox) {
            // BST_ values are the CheckState numbers.
            SendMessageW(controls_[i], BM_SETCHECK, WPARAM(AfterClick(Value(i))), 0);
        } else if (layout_.controls[i].kind == ControlKind::CommandButton) {
            events_.click(i);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: return Colour(message, wParam, lParam);
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 layout_.background == Background::PageGrey ? PageBrush()
                                                            : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // The user's colours or high-contrast setting may have changed.
        systemColours_ = SystemColoursWanted();
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
    case WM_ACTIVATE:
        // Like a dialog, the window gives the focus back to the control that
        // had it when it is activated again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        } else {
            lastActive = hwnd_;
        }
        break;
    case WM_SETFOCUS:
        if (lastFocus_ && IsWindow(lastFocus_)) ::SetFocus(lastFocus_);
        return 0;
    case WM_GETDPISCALEDSIZE:
        // The size the window will have at the new dpi, so that the system
        // suggests a place for that size and not for a plain scaling.
        *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<int>(wParam));
        return TRUE;
    case WM_DPICHANGED: Arrange(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

const Win32Window& Native(const Form& form) {
    if (!form.Native()) throw std::logic_error(form.Name() + " is not loaded");
    return static_cast<const Win32Window&>(*form.Native());
}

} // namespace

void SetUpWin32() {
    static const bool done = [] {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = FormProc;
        form.hInstance = GetModuleHandleW(nullptr);
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.hIcon = LoadIconW(form.hInstance, MAKEINTRESOURCEW(1)); // the executable's own
        form.lpszClassName = kFormClass;
        formClass = RegisterClassExW(&form);
        RegisterLineClass(form);
        return formClass != 0;
    }();
    if (!done) throw std::runtime_error("window classes could not be registered");
}

void ProcessMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        Win32Window* window = WindowOf(GetAncestor(msg.hwnd, GA_ROOT));
        if (window && window->HandleKey(msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

std::unique_ptr<Window> BuildWindow(const FormSpec& layout, Window::Events events) {
    return std::make_unique<Win32Window>(layout, std::move(events));
}

HWND HwndOf(const Form& form) {
    return form.Native() ? static_cast<const Win32Window*>(form.Native())->Hwnd() : nullptr;
}

HWND ControlHwnd(const Form& form, std::size_t control) { return Native(form).Control(control); }

HWND FocusIn(const Form& form) { return Native(form).Focused(); }

HWND ActiveScreen() {
    HWND active = GetActiveWindow();
    if (WindowOf(active)) return active;
    return lastActive && IsWindowVisible(lastActive) ? lastActive : nullptr;
}

} // namespace tolvane::platform
