#pragma once

#include <optional>
#include <string>
#include <vector>

// A screen's design as data: its window and a table of its controls, in twips
// from the top-left corner of the client area, read like a form file.
namespace tolvane::platform {

enum class ControlKind { Label, CheckBox, CommandButton, TextBox, Line };

struct FontSpec {
    std::u16string_view family;
    double points;
    int weight; // 400 normal, 700 bold
};

// Settings that depart from a control's defaults.
enum Style : unsigned {
    kPlain = 0,
    kHidden = 1u << 0,         // never shown, never reachable
    kDisabled = 1u << 1,       // greyed text, takes neither focus nor input
    kAutoSize = 1u << 2,       // a label that sizes itself to its caption
    kPageBackground = 1u << 3, // the page grey behind the control
    // A label that keeps its place and grows right and down just enough to
    // show its caption whole, where the face standing in for the one the
    // layout was drawn for is wider or deeper.
    kGrowToFit = 1u << 4,
};

struct Box {
    int left, top, width, height;
};

struct ControlSpec {
    ControlKind kind;
    std::string name;
    Box box;                // a line: from (left, top) to (width, height)
    int tabIndex;           // -1 where the control has none
    std::u16string caption; // caption, or text of a text box, before load
    unsigned style = kPlain;
    std::optional<FontSpec> font = std::nullopt;
    // What a screen reader says beyond the caption; a text box, which has no
    // caption, is named by it.
    std::u16string description = {};
};

enum class Background { PageGrey, ButtonFace };

struct FormSpec {
    std::string name;
    std::u16string caption;
    int clientWidth, clientHeight;
    Background background;
    bool controlBox;                   // false: no system menu, no minimise, maximise or close
    std::vector<ControlSpec> controls; // in stacking order: later ones lie in front
};

// The page grey, RGB (192, 192, 192).
inline constexpr int kPageGrey = 192;

// Labels and lines never take the focus, nor do hidden or disabled controls.
inline bool TakesFocus(const ControlSpec& control) {
    return control.tabIndex >= 0 && !(control.style & (kHidden | kDisabled)) &&
           (control.kind == ControlKind::CheckBox || control.kind == ControlKind::CommandButton ||
            control.kind == ControlKind::TextBox);
}

} // namespace tolvane::platform
