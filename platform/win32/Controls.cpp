#include "Controls.h"

#include <commctrl.h>
#include <oleacc.h>
#include <stdexcept>

#include "Twips.h"

namespace tolvane::platform {
namespace {

constexpr wchar_t kLineClass[] = L"TolvaneLine";

// The UI Automation full description, which current screen readers read; the
// annotation service takes a UI Automation property where it takes an older one.
constexpr GUID kFullDescription{
    0x0d4450ff, 0x6aef, 0x4f33, {0x95, 0xdd, 0x7b, 0xef, 0xa7, 0x2a, 0x43, 0x91}};

LRESULT CALLBACK LineProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    const auto* design =
        reinterpret_cast<const ControlSpec*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const PixelLine ends = LineEnds(design->box, static_cast<int>(GetDpiForWindow(hwnd)));
    const PixelBox r = ends.Bounds();
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const int x2 = ends.x2 - r.x, y2 = ends.y2 - r.y;
    MoveToEx(dc, ends.x1 - r.x, ends.y1 - r.y, nullptr);
    LineTo(dc, x2, y2);
    SetPixel(dc, x2, y2, GetSysColor(COLOR_WINDOWTEXT)); // LineTo leaves out the end point
    EndPaint(hwnd, &paint);
    return 0;
}

// Screen readers get each check box's description through the system's
// annotation service, as the older description, help text and the full
// description; where there is none (or it takes only some of them) the boxes
// still read their caption.
void Describe(HWND control, std::u16string_view description) {
    static IAccPropServices* services = [] {
        IAccPropServices* created = nullptr;
        CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                         reinterpret_cast<void**>(&created));
        return created;
    }();
    if (!services) return;
    const std::wstring text = Wide(description);
    for (const GUID& property : {PROPID_ACC_DESCRIPTION, PROPID_ACC_HELP, kFullDescription}) {
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                                 text.c_str());
    }
}

} // namespace

// On Windows wchar_t is UTF-16, like the layouts' strings.
std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }

// Text boxes break lines with CR LF; the screens write a bare LF.
std::wstring ForEdit(std::u16string_view text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += L'\r';
        out += static_cast<wchar_t>(text[i]);
    }
    return out;
}

void RegisterLineClass(WNDCLASSEXW line) {
    line.lpfnWndProc = LineProc;
    line.lpszClassName = kLineClass;
    RegisterClassExW(&line);
}

HWND CreateControl(const ControlSpec& design, HWND parent, int id) {
    const wchar_t* windowClass = WC_STATICW;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    switch (design.kind) {
    // One line, clipped at the right edge, "&" shown as it is.
    case ControlKind::Label: style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX; break;
    // Not automatic: the window decides what a click makes of the value.
    case ControlKind::CheckBox: windowClass = WC_BUTTONW, style |= BS_3STATE; break;
    case ControlKind::CommandButton: windowClass = WC_BUTTONW, style |= BS_PUSHBUTTON; break;
    // Wraps at its width; grows downwards as the user types, with no scroll bar.
    case ControlKind::TextBox:
        windowClass = WC_EDITW, style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        break;
    case ControlKind::Line: windowClass = kLineClass; break;
    }
    if (!(design.style & kHidden)) style |= WS_VISIBLE;
    if (design.style & kDisabled) style |= WS_DISABLED;
    const std::wstring text =
        design.kind == ControlKind::TextBox ? ForEdit(design.caption) : Wide(design.caption);
    HWND control = CreateWindowExW(0, windowClass, text.c_str(), style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control) throw std::runtime_error("control " + design.name + " could not be created");
    if (design.kind == ControlKind::TextBox) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    if (design.kind == ControlKind::Line) {
        SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&design));
    }
    if (!design.description.empty()) Describe(control, design.description);
    return control;
}

} // namespace tolvane::platform
