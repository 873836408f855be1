#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "Layout.h"

// The rules of classic fixed-layout forms that every binding follows the same
// way: a binding asks here and then only creates, places, draws and reads.
namespace tolvane::platform {

// Every screen's default: the standard 9-point Japanese UI font.
inline constexpr FontSpec kDefaultFont{u"ＭＳ Ｐゴシック", 9.0, 400};

inline const FontSpec& FontOf(const ControlSpec& control) {
    return control.font ? *control.font : kDefaultFont;
}

// What a check box holds. Only the program can gray one.
enum class CheckState { Unchecked = 0, Checked = 1, Grayed = 2 };

// A click, or Space, ticks a grayed box; it never leaves one grayed.
inline CheckState AfterClick(CheckState state) {
    return state == CheckState::Checked ? CheckState::Unchecked : CheckState::Checked;
}

// The controls that take the focus, as indices into the table, by tab index;
// equal indices keep their order in the table.
std::vector<std::size_t> TabOrder(const FormSpec& layout);

// Where Tab (or Shift+Tab) sends the focus from `from`: round the order, and
// from outside it to its first (or last) control. Nothing where none takes it.
std::optional<std::size_t> NextInTabOrder(const std::vector<std::size_t>& order,
                                          std::optional<std::size_t> from, bool backwards);

// What the keyboard does on a screen, before the focused control sees the key.
enum class Key { Tab, Enter, Space, F4, Other };
struct KeyPress {
    Key key;
    bool shift = false, control = false, alt = false, repeat = false;
};
enum class KeyAction {
    Native,        // the control's own: a text box types it
    Swallow,       // nothing happens, and nothing else may act on it
    FocusNext,     // Tab
    FocusPrevious, // Shift+Tab
    Press,         // Enter on a button, Space on a button or box: presses it and no other
    CloseRequest,  // Alt+F4: the screen decides
};
// `focused` is the kind of the control with the focus, nothing where none has it.
KeyAction KeyRule(const KeyPress& press, std::optional<ControlKind> focused);

struct PixelSize {
    int width, height;
    bool operator==(const PixelSize&) const = default;
};

// The size a label takes, from its box and its caption's extent in its font
// (as tall as the font's line): an auto-sized one the caption's; one that
// grows to fit keeps its place and grows right and down as far as its caption
// needs; any other is at least as tall as its font, so that no glyph loses its
// lowest rows where the face standing in is deeper than the design's.
PixelSize LabelSize(const ControlSpec& label, PixelSize box, PixelSize caption);

} // namespace tolvane::platform
