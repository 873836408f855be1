#include "FormRules.h"

#include <algorithm>

namespace tolvane::platform {

std::vector<std::size_t> TabOrder(const FormSpec& layout) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (TakesFocus(layout.controls[i])) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return layout.controls[a].tabIndex < layout.controls[b].tabIndex;
    });
    return order;
}

std::optional<std::size_t> NextInTabOrder(const std::vector<std::size_t>& order,
                                          std::optional<std::size_t> from, bool backwards) {
    if (order.empty()) return std::nullopt;
    const auto at = std::find(order.begin(), order.end(), from);
    if (!from || at == order.end()) return backwards ? order.back() : order.front();
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t next = (at - order.begin() + (backwards ? n - 1 : 1)) % n;
    return order[static_cast<std::size_t>(next)];
}

KeyAction KeyRule(const KeyPress& press, std::optional<ControlKind> focused) {
    switch (press.key) {
    case Key::Tab:
        if (press.alt || press.control) return KeyAction::Native;
        return press.shift ? KeyAction::FocusPrevious : KeyAction::FocusNext;
    case Key::Enter:
        // No button is a default one: Enter presses the focused button alone.
        if (focused != ControlKind::CommandButton) return KeyAction::Native;
        if (press.repeat || press.alt || press.control || press.shift) return KeyAction::Swallow;
        return KeyAction::Press;
    case Key::F4:
        if (!press.alt || press.control) return KeyAction::Native;
        return press.repeat ? KeyAction::Swallow : KeyAction::CloseRequest;
    case Key::Space:
        // Where the controls leave the keys to the binding.
        if (focused != ControlKind::CommandButton && focused != ControlKind::CheckBox)
            return KeyAction::Native;
        if (press.alt || press.control) return KeyAction::Swallow;
        return press.repeat ? KeyAction::Swallow : KeyAction::Press;
    case Key::Other: return KeyAction::Native;
    }
    return KeyAction::Native;
}

PixelSize LabelSize(const ControlSpec& label, PixelSize box, PixelSize caption) {
    if (label.style & kAutoSize) return caption;
    const int height = std::max(box.height, caption.height);
    if (label.style & kGrowToFit) return {std::max(box.width, caption.width), height};
    return {box.width, height};
}

} // namespace tolvane::platform
