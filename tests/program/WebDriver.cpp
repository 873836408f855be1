// The driver on the browser binding, and its test program's main: mouse,
// key and input events on the page's elements, handled as a user's are. A
// fixed text reads whole only where its web font draws it uncut.
#include <emscripten/val.h>
#include <gtest/gtest.h>

#include "Form.h"
#include "RuntimeError.h"
#include "Walk.h"
#include "Window.h"

namespace tolvane::check {
namespace {

using emscripten::val;

const char* const kPage = R"((function () {
  const el = (form, name) => document.getElementById(name ? form + '-' + name : form);
  const input = e => e.tagName === 'LABEL' ? e.firstChild : e;
  const key = (target, key, shift, alt) => target.dispatchEvent(new KeyboardEvent('keydown',
      {key, shiftKey: shift, altKey: alt, bubbles: true, cancelable: true}));
  const click = (e, at) => {
    // On a whole pixel, as a mouse's clicks land.
    const r = e.getBoundingClientRect(), x = r.left + Math.min(Math.floor(at * r.width), r.width - 1);
    const y = r.top + r.height / 2, hit = document.elementFromPoint(x, y);
    const target = hit && e.closest('.form').contains(hit) ? hit : e;
    for (const type of ['mousedown', 'mouseup', 'click'])
      target.dispatchEvent(new MouseEvent(type, {bubbles: true, cancelable: true, clientX: x, clientY: y}));
  };
  const canvas = document.createElement('canvas').getContext('2d'), width = (text, style, fallback) => (
    canvas.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily.split(',')[0]}, ${fallback}`,
    canvas.measureText(text).width);
  // Drawn whole in its own face: the same width whether a face half as wide
  // again (the page's probe) or the browser's would stand in for missing
  // glyphs, and no wider than its box, leader dots apart.
  const whole = e => {
    const span = e.tagName === 'LABEL' ? e.lastChild : e, text = span.textContent;
    if (!text || !e.offsetParent) return true;
    const style = getComputedStyle(span);
    if (width(text, style, 'probe') !== width(text, style, 'serif')) return false;
    const room = span.clientWidth, dots = text.indexOf('・');
    return span.scrollWidth <= room || (dots > 0 && width(text.slice(0, dots), style, 'serif') <= room);
  };
  return {
    press(form, name, how, at) {
      const e = el(form, name);
      if (how === 0) return click(e, at);
      input(e).focus();
      key(document.activeElement, how === 1 ? ' ' : 'Enter', false, false);
    },
    type(form, name, text, how) {
      const e = el(form, name);
      click(e, 0.5);
      if (!e.disabled) e.focus(), e.setSelectionRange(e.value.length, e.value.length);
      // Text goes where the focus is, and only into a box that takes it.
      const target = document.activeElement, into = target === e && !e.disabled;
      if (how !== 0) return into && document.execCommand('insertText', false, text);
      for (const c of text)
        if (key(target, c === '\n' ? 'Enter' : c, false, false) && into)
          document.execCommand('insertText', false, c);
    },
    close: (form, button = el(form).querySelector('.close')) =>
      button ? button.click() : key(el(form), 'F4', false, true),
    tab: (form, back) => key(el(form).contains(document.activeElement) ? document.activeElement : el(form),
                             'Tab', back, false),
    text(form, name, e = el(form, name)) {
      return !e ? '(none)' : e.tagName === 'TEXTAREA' ? e.value : e.textContent + (whole(e) ? '' : ' (not whole)');
    },
    // The colours drawn: the element's text on the first background behind it.
    drawn(form, name) {
      const rgba = (e, what) => getComputedStyle(e)[what].match(/[\d.]+/g).map(Number);
      let back = el(form, name);
      while (rgba(back, 'backgroundColor')[3] === 0) back = back.parentElement;
      return [rgba(el(form, name), 'color'), rgba(back, 'backgroundColor')];
    },
    cut: () => [...document.querySelectorAll('.label, .check, .client button')].filter(e => !whole(e)).map(e => e.id).join(' '),
    // A page whose system colours are a dark scheme's.
    dark: on => document.documentElement.style.colorScheme = on ? 'dark' : '',
    focus: (form, active = document.activeElement.closest('[data-control]')) =>
      active && el(form).contains(active) ? active.dataset.control : el(form).dataset.focus || '',
  };
})())";

val Page() {
    static const val page = val::global("eval")(val(std::string(kPage))); // as UTF-8
    return page;
}

platform::Rgb Rgb(val c) { return {c[0].as<int>(), c[1].as<int>(), c[2].as<int>()}; }

class WebDriver final : public Driver {
public:
    void Settle() override {} // the page handles every event as it is dispatched
    void Press(Screen s, const std::string& control, Input input, double at) override {
        Page().call<void>("press", Name(s), control, int(input), at);
    }
    void Type(Screen s, int box, const std::u16string& text, Input input) override {
        Page().call<void>("type", Name(s), "Text" + std::to_string(box), text, int(input));
    }
    void Close(Screen s) override { Page().call<void>("close", Name(s)); }
    void Tab(Screen s, bool back) override { Page().call<void>("tab", Name(s), back); }
    std::u16string Text(Screen s, const std::string& control) override {
        return Page().call<std::u16string>("text", Name(s), control);
    }
    std::string Focus(Screen s) override { return Page().call<std::string>("focus", Name(s)); }
    std::pair<platform::Rgb, platform::Rgb> Drawn(Screen s, const std::string& control) override {
        const val drawn = Page().call<val>("drawn", Name(s), control);
        return {Rgb(drawn[0]), Rgb(drawn[1])};
    }
    void DarkScheme(bool on) override { Page().call<void>("dark", on); }
};

} // namespace

Driver& TheDriver() {
    static WebDriver driver;
    return driver;
}

// Every fixed text on every screen shown is drawn whole in its own web face.
TEST(Page, EveryFixedTextIsWholeInItsFace) {
    Program program;
    for (int s = 0; s < 9; ++s)
        program.runtime().Dispatch([s] { FormOf(ScreenAt(s)).Show(); });
    EXPECT_EQ(Page().call<std::string>("cut"), "");
}

// The page's own end: the error report in a modal box, and once the user has
// dismissed it, a notice with the error's number.
TEST(Page, EndsWithANoticeOnceTheReportIsDismissed) {
    platform::Runtime runtime;
    EXPECT_FALSE(runtime.Run([] { throw RuntimeError(7, "Form1"); })) << "the page's loop blocked";
    EXPECT_FALSE(runtime.HasEnded()) << "ended before the report was dismissed";
    const val document = val::global("document");
    document.call<val>("querySelector", val(".report .ok")).call<void>("click");
    const val notice = document.call<val>("querySelector", val(".ended"));
    EXPECT_TRUE(runtime.HasEnded() && notice["textContent"].as<std::u16string>().find(
                                          u"エラー 7") != std::u16string::npos);
    notice.call<void>("remove");
}

} // namespace tolvane::check

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    tolvane::platform::StartToolkit(argc, argv); // as the program does before its first screen
    return RUN_ALL_TESTS();
}
