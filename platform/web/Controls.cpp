#include "Controls.h"

#include <string>

#include "Fonts.h"
#include "Twips.h"

namespace tolvane::platform {
namespace {

using emscripten::val;

val Create(const char* tag) { return val::global("document").call<val>("createElement", val(tag)); }

// The place a layout gives, which the style sheet uses where the window is
// drawn as designed, and leaves for the phone's one column.
void Place(val element, const PixelBox& box) {
    SetStyleProperty(element, "--left", val(Px(box.x)));
    SetStyleProperty(element, "--top", val(Px(box.y)));
    SetStyleProperty(element, "--width", val(Px(box.width)));
    SetStyleProperty(element, "--height", val(Px(box.height)));
}

// A caption's trailing run of leader dots, apart, so that the phone's column,
// where the answers sit under the statement, can leave them out.
void SetLeadered(val target, std::u16string_view caption) {
    const std::size_t dots = caption.find_last_not_of(u'・') + 1;
    if (dots == 0 || dots == caption.size())
        return target.set("textContent", val(std::u16string(caption)));
    target.set("textContent", val(std::u16string(caption.substr(0, dots))));
    val leader = Element("span", "leader");
    leader.call<void>("setAttribute", val("aria-hidden"), val("true"));
    leader.set("textContent", val(std::u16string(caption.substr(dots))));
    target.call<void>("appendChild", leader);
}

val CreateLine(const ControlSpec& design) {
    const val document = val::global("document");
    const val ns("http://www.w3.org/2000/svg");
    const PixelLine ends = LineEnds(design.box);
    const PixelBox bounds = ends.Bounds();
    val svg = document.call<val>("createElementNS", ns, val("svg"));
    val line = document.call<val>("createElementNS", ns, val("line"));
    // Through the middle of the end pixels, as the desktop draws them.
    const auto at = [](int pixel, int origin) { return std::to_string(pixel - origin) + ".5"; };
    line.call<void>("setAttribute", val("x1"), at(ends.x1, bounds.x));
    line.call<void>("setAttribute", val("y1"), at(ends.y1, bounds.y));
    line.call<void>("setAttribute", val("x2"), at(ends.x2, bounds.x));
    line.call<void>("setAttribute", val("y2"), at(ends.y2, bounds.y));
    svg.call<void>("appendChild", line);
    Place(svg, bounds);
    return svg;
}

} // namespace

val Document() { return val::global("document"); }

void SetStyleProperty(val element, const char* name, const val& value) {
    element["style"].call<void>("setProperty", val(name), value);
}

std::string Px(int pixels) { return std::to_string(pixels) + "px"; }

val Page() { return val::module_property("tolvane"); }

val Element(const char* tag, const char* className) {
    val element = Document().call<val>("createElement", val(tag));
    element.call<void>("setAttribute", val("class"), val(className));
    return element;
}

val CreateControl(const ControlSpec& design, const std::string& id) {
    val control = val::undefined();
    switch (design.kind) {
    case ControlKind::Label: control = Create("div"); break;
    case ControlKind::CheckBox: {
        // Inside its label element, a click anywhere in the box ticks it.
        control = Create("label");
        val box = Create("input");
        box.set("type", "checkbox");
        // The program alone puts answers back: never the browser, from an earlier visit.
        box.call<void>("setAttribute", val("autocomplete"), val("off"));
        control.call<void>("appendChild", box);
        control.call<void>("appendChild", Create("span"));
        break;
    }
    case ControlKind::CommandButton:
        control = Create("button");
        control.set("type", "button");
        break;
    case ControlKind::TextBox:
        control = Create("textarea");
        control.set("spellcheck", false);
        control.call<void>("setAttribute", val("autocomplete"), val("off"));
        break;
    case ControlKind::Line: control = CreateLine(design); break;
    }
    control.set("id", id);
    control.call<void>("setAttribute", val("class"),
                       val(design.kind == ControlKind::Label      ? "label"
                           : design.kind == ControlKind::CheckBox ? "check"
                           : design.kind == ControlKind::Line     ? "line"
                                                                  : "control"));
    control.call<void>("setAttribute", val("data-control"), val(design.name));
    if (design.kind == ControlKind::Line) {
        if (design.style & kHidden) control.call<void>("setAttribute", val("hidden"), val(""));
        return control;
    }

    const PixelBox box = TwipsToPixels(design.box);
    Place(control, box);
    // A label is sized as LabelSize says, by the browser as the fonts arrive:
    // where the rule follows the caption (asked with one larger than any), so
    // does the box, from the least the rule gives an empty caption.
    if (design.kind == ControlKind::Label) {
        constexpr int kAny = 1 << 20;
        const PixelSize least = LabelSize(design, {box.width, box.height}, {0, 0});
        const PixelSize most = LabelSize(design, {box.width, box.height}, {kAny, kAny});
        if (most.width == kAny)
            SetStyleProperty(control, "--width", val("max-content")),
                SetStyleProperty(control, "--min-width", val(Px(least.width)));
        if (most.height == kAny)
            SetStyleProperty(control, "--height", val("auto")),
                SetStyleProperty(control, "--min-height", val(Px(least.height)));
    }
    ApplyFont(control, FontOf(design));
    if (design.style & kPageBackground) control["classList"].call<void>("add", val("page-grey"));
    if (design.style & kHidden) control.call<void>("setAttribute", val("hidden"), val(""));
    val input = InputOf(control, design.kind);
    if (design.style & kDisabled) input.set("disabled", true);
    if (!TakesFocus(design)) input.set("tabIndex", -1);
    // A text box has no caption: what it holds is told by its description.
    if (!design.description.empty())
        input.call<void>(
            "setAttribute",
            val(design.kind == ControlKind::TextBox ? "aria-label" : "aria-description"),
            val(design.description));
    if (design.kind == ControlKind::TextBox) {
        input.set("value", val(design.caption));
    } else {
        SetCaption(control, design.kind, design.caption);
    }
    return control;
}

val InputOf(val control, ControlKind kind) {
    return kind == ControlKind::CheckBox ? control["firstChild"] : control;
}

void SetCaption(val control, ControlKind kind, std::u16string_view caption) {
    if (kind == ControlKind::Label) return SetLeadered(control, caption);
    val target = kind == ControlKind::CheckBox ? control["lastChild"] : control;
    target.set("textContent", val(std::u16string(caption)));
}

CheckState StateOf(val box) {
    if (box["indeterminate"].as<bool>()) return CheckState::Grayed;
    return box["checked"].as<bool>() ? CheckState::Checked : CheckState::Unchecked;
}

void SetState(val box, CheckState state) {
    box.set("indeterminate", state == CheckState::Grayed);
    box.set("checked", state == CheckState::Checked);
}

} // namespace tolvane::platform
