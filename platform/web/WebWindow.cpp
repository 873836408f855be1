#include "WebWindow.h"

#include <emscripten/bind.h>
#include <string>
#include <vector>

#include "Controls.h"
#include "Fonts.h"
#include "Placement.h"
#include "ReadingOrder.h"
#include "Twips.h"
#include "Window.h"

namespace tolvane::platform {
namespace {

using emscripten::val;

// Events of the page reach the runtime through one exported function.
enum class Event { Click, Close, Activate, Focus };

void Listen(val target, const char* type, std::size_t window, Event event, std::size_t control) {
    Page().call<void>("listen", target, val(type), val("tolvaneEvent"), window,
                      static_cast<int>(event), control);
}

int topmost = 0; // the z-index of the window in front

// A window's frame outside its client area: border and padding, as the style sheet draws it.
constexpr int kFrame = 2 * (1 + 2);

class WebWindow;
std::vector<WebWindow*> windows; // by number; null once gone

// A screen as a window in the page: a dialog-like panel with a title bar and
// a client area of the layout's size, positioned in the document.
class WebWindow final : public Window {
public:
    WebWindow(const FormSpec& layout, Events events);
    ~WebWindow() override;

    bool IsVisible() const override { return !panel_["hidden"].as<bool>(); }
    void Show(bool first, std::optional<std::size_t> focus) override;
    void Hide() override { panel_.set("hidden", true); }
    void SetTitle(std::u16string_view title) override {
        caption_.set("textContent", val(std::u16string(title)));
    }
    void SetCaption(std::size_t control, std::u16string_view caption) override {
        platform::SetCaption(controls_[control], layout_.controls[control].kind, caption);
    }
    void SetText(std::size_t control, std::u16string_view text) override {
        controls_[control].set("value", val(std::u16string(text)));
        Page().call<void>("grow", panel_);
    }
    CheckState Value(std::size_t control) const override { return StateOf(Input(control)); }
    void SetValue(std::size_t control, CheckState state) override {
        SetState(Input(control), shown_[control] = state);
    }
    void SetFocus(std::size_t control) override { Input(control).call<void>("focus"); }

    void On(Event event, std::size_t control);
    bool Contains(val element) const { return panel_.call<bool>("contains", element); }
    int Z() const { return IsVisible() ? z_ : -1; }
    void Key(val event);
    // Placed again where the viewport has changed: as a window for the first
    // time, or one that no longer fits.
    void Refit() {
        if (IsVisible() && (!placed_ || !Fits())) Place();
    }

private:
    val Input(std::size_t control) const {
        return InputOf(controls_[control], layout_.controls[control].kind);
    }
    std::optional<std::size_t> Focused() const;
    bool Fits() const;
    void Place();
    void Raise() { panel_["style"].set("zIndex", z_ = ++topmost); }
    bool TakeOver();
    void Wire();

    const FormSpec& layout_;
    Events events_;
    std::size_t number_;
    val panel_ = Element("section", "form");
    val caption_ = Element("h1", "caption");
    std::vector<val> controls_;            // in table order
    std::vector<CheckState> shown_;        // what each box showed before a click
    std::vector<std::size_t> tabOrder_;    // TabOrder(layout)
    std::optional<std::size_t> lastFocus_; // comes back when the window does
    int z_ = 0;                            // its place in the stack, as its style has it
    bool placed_ = false;                  // given a place as a window, not as a column
    bool served_ = false;                  // in the page as served, until first shown
};

// Where the page is too narrow for a window, every window is drawn in one
// column (the style sheet's `narrow`), and has no place of its own.
bool Narrow() {
    return Document()["documentElement"]["classList"].call<bool>("contains", val("narrow"));
}

WebWindow::WebWindow(const FormSpec& layout, Events events)
    : layout_(layout), events_(std::move(events)), number_(windows.size()),
      shown_(layout.controls.size()), tabOrder_(TabOrder(layout)) {
    windows.push_back(this);
    // Named by its title bar, as a screen reader announces a window.
    panel_.set("id", layout.name);
    panel_.call<void>("setAttribute", val("role"), val("dialog"));
    panel_.call<void>("setAttribute", val("aria-labelledby"), val(layout.name + "-caption"));
    panel_.set("hidden", true);
    // The page decides which layout fits the viewport from the window's width.
    panel_.call<void>("setAttribute", val("data-width"),
                      kFrame + TwipsToPixels(layout.clientWidth));
    val bar = Element("div", "titlebar");
    caption_.set("id", layout.name + "-caption");
    SetTitle(layout.caption);
    bar.call<void>("appendChild", caption_);
    // Only where the layout has a control box; the screen decides what it means.
    if (layout.controlBox) {
        val close = Element("button", "close");
        close.set("type", "button");
        close.set("tabIndex", -1);
        close.set("textContent", val(std::u16string(u"×")));
        close.call<void>("setAttribute", val("aria-label"), val(std::u16string(u"閉じる")));
        bar.call<void>("appendChild", close);
    }
    panel_.call<void>("appendChild", bar);

    val client =
        Element("div", layout.background == Background::PageGrey ? "client page-grey" : "client");
    SetStyleProperty(client, "--client-width", val(Px(TwipsToPixels(layout.clientWidth))));
    SetStyleProperty(client, "--client-height", val(Px(TwipsToPixels(layout.clientHeight))));
    ApplyFont(client, kDefaultFont);
    // In the document in reading order, for a screen reader and the phone's
    // column; stacked in table order, as the layout draws overlapping boxes.
    // A window of nothing but labels and buttons is a message: its labels are
    // what it says.
    std::string message;
    bool onlyWords = true;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlSpec& design = layout.controls[i];
        controls_.push_back(CreateControl(design, layout.name + "-" + design.name));
        controls_.back()["style"].set("zIndex", i);
        onlyWords &= design.kind != ControlKind::CheckBox && design.kind != ControlKind::TextBox;
    }
    for (const std::size_t i : ReadingOrder(layout)) {
        client.call<void>("appendChild", controls_[i]);
        if (layout.controls[i].kind == ControlKind::Label && !(layout.controls[i].style & kHidden))
            message += (message.empty() ? "" : " ") + layout.name + "-" + layout.controls[i].name;
    }
    if (onlyWords && !message.empty())
        panel_.call<void>("setAttribute", val("aria-describedby"), val(message));
    panel_.call<void>("appendChild", client);
    // Page 1 may be in the page as served: taken over when first shown, once
    // its Form_Load has set what the program draws there.
    served_ =
        !Document().call<val>("querySelector", val("#" + layout.name + "[data-served]")).isNull();
    if (!served_) {
        Document()["body"].call<void>("appendChild", panel_);
        Wire();
    }
    Page().call<void>("fit");
}

// The window as served (page.js, adopt) in place of the one built, with what
// the user did there before the program came; or, where it is not what the
// program draws, the one built.
bool WebWindow::TakeOver() {
    const bool taken = Page().call<bool>("adopt", panel_);
    if (taken) {
        panel_ = Document().call<val>("getElementById", panel_["id"]);
        caption_ = panel_.call<val>("querySelector", val(".caption"));
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            controls_[i] = Document().call<val>("getElementById", controls_[i]["id"]);
            if (layout_.controls[i].kind == ControlKind::CheckBox) shown_[i] = StateOf(Input(i));
        }
        if (const auto focused = Focused()) lastFocus_ = focused;
        placed_ = !Narrow();
    } else {
        Document()["body"].call<void>("appendChild", panel_);
        Page().call<void>("fit");
    }
    Wire();
    return taken;
}

// What the user does in the window reaches the runtime.
void WebWindow::Wire() {
    if (layout_.controlBox)
        Listen(panel_.call<val>("querySelector", val(".close")), "click", number_, Event::Close, 0);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ControlSpec& design = layout_.controls[i];
        if (design.kind == ControlKind::CheckBox || design.kind == ControlKind::CommandButton)
            Listen(Input(i), "click", number_, Event::Click, i);
        if (TakesFocus(design)) Listen(Input(i), "focus", number_, Event::Focus, i);
    }
    Listen(panel_, "mousedown", number_, Event::Activate, 0);
}

WebWindow::~WebWindow() {
    windows[number_] = nullptr;
    panel_.call<void>("remove");
}

void WebWindow::Show(bool first, std::optional<std::size_t> focus) {
    const bool taken = served_ && TakeOver();
    served_ = false;
    panel_.set("hidden", false);
    // Centred the first time it is shown as a window, and then left where the
    // user puts it; as served, it is where the page centred it already.
    if ((first && !taken) || !placed_) Place();
    Raise();
    // Text boxes are measured only where they are drawn.
    Page().call<void>("grow", panel_);
    // Like a desktop window, it gives the focus back to the control that had
    // it; as served, the focus stays where the user put it.
    if (focus && !(taken && lastFocus_)) lastFocus_ = focus;
    if (lastFocus_) SetFocus(*lastFocus_);
}

bool WebWindow::Fits() const {
    const val box = panel_.call<val>("getBoundingClientRect");
    const val view = Document()["documentElement"];
    return box["left"].as<double>() >= 0 && box["top"].as<double>() >= 0 &&
           box["right"].as<double>() <= view["clientWidth"].as<double>() &&
           box["bottom"].as<double>() <= view["clientHeight"].as<double>();
}

// In the middle of the viewport, never with its title bar out of reach above
// or left of the page.
void WebWindow::Place() {
    placed_ = !Narrow();
    if (!placed_) return;
    const val view = Document()["documentElement"];
    const val page = val::global("window");
    const Position at =
        OpeningPosition(panel_["offsetWidth"].as<int>(), panel_["offsetHeight"].as<int>(),
                        {page["scrollX"].as<int>(), page["scrollY"].as<int>(),
                         view["clientWidth"].as<int>(), view["clientHeight"].as<int>()});
    SetStyleProperty(panel_, "--x", val(Px(at.x)));
    SetStyleProperty(panel_, "--y", val(Px(at.y)));
}

std::optional<std::size_t> WebWindow::Focused() const {
    const val active = Document()["activeElement"];
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (Input(i) == active) return i;
    }
    return std::nullopt;
}

void WebWindow::On(Event event, std::size_t control) {
    switch (event) {
    case Event::Click:
        if (layout_.controls[control].kind == ControlKind::CheckBox) {
            // The browser has toggled the box already; the rule decides.
            shown_[control] = AfterClick(shown_[control]);
            SetState(Input(control), shown_[control]);
        } else {
            events_.click(control);
        }
        return;
    case Event::Close: events_.closeRequest(); return;
    case Event::Activate:
        // A press anywhere in a window brings it to the front and gives it the
        // keyboard, on the control it last had, even from a disabled one.
        if (z_ != topmost) Raise();
        if (!Contains(Document()["activeElement"]) && lastFocus_) SetFocus(*lastFocus_);
        return;
    case Event::Focus: lastFocus_ = control; return;
    }
}

void WebWindow::Key(val event) {
    const std::string name = event["key"].as<std::string>();
    const platform::Key key = name == "Tab"     ? Key::Tab
                              : name == "Enter" ? Key::Enter
                              : name == " "     ? Key::Space
                              : name == "F4"    ? Key::F4
                                                : Key::Other;
    const KeyPress press{key, event["shiftKey"].as<bool>(), event["ctrlKey"].as<bool>(),
                         event["altKey"].as<bool>(), event["repeat"].as<bool>()};
    const std::optional<std::size_t> focused = Focused();
    std::optional<ControlKind> kind;
    if (focused) kind = layout_.controls[*focused].kind;
    const KeyAction action = KeyRule(press, kind);
    // Space with nothing focused would scroll the page.
    if (action != KeyAction::Native || (key == Key::Space && !focused))
        event.call<void>("preventDefault");
    switch (action) {
    case KeyAction::Native:
    case KeyAction::Swallow: return;
    case KeyAction::FocusNext:
    case KeyAction::FocusPrevious:
        if (const auto next = NextInTabOrder(tabOrder_, focused ? focused : lastFocus_,
                                             action == KeyAction::FocusPrevious))
            SetFocus(*next);
        return;
    case KeyAction::Press: Input(*focused).call<void>("click"); return;
    case KeyAction::CloseRequest: events_.closeRequest(); return;
    }
}

void Refit() {
    for (WebWindow* window : windows)
        if (window) window->Refit();
}

void OnEvent(int window, int event, int control) {
    if (window < 0 || window >= static_cast<int>(windows.size()) || !windows[window]) return;
    windows[window]->On(static_cast<Event>(event), static_cast<std::size_t>(control));
}

} // namespace

void HandleKey(val event) {
    WebWindow* target = nullptr;
    for (WebWindow* window : windows) {
        if (!window || window->Z() < 0) continue;
        if (window->Contains(event["target"])) {
            target = window;
            break;
        }
        if (!target || window->Z() > target->Z()) target = window;
    }
    if (target) target->Key(event);
}

std::unique_ptr<Window> BuildWindow(const FormSpec& layout, Window::Events events) {
    return std::make_unique<WebWindow>(layout, std::move(events));
}

EMSCRIPTEN_BINDINGS(tolvane_windows) {
    emscripten::function("tolvaneEvent", &OnEvent);
    emscripten::function("tolvaneRefit", &Refit);
}

} // namespace tolvane::platform
