// The driver on the browser binding, and its test program's main: mouse,
// key and input events on the page's elements, handled as a user's are. A
// fixed text reads whole only where its web font draws it uncut.
#include <emscripten/val.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "Form.h"
#include "RuntimeError.h"
#include "Walk.h"
#include "Window.h"

namespace tolvane::check {
namespace {

using emscripten::val;

// The page side, driver.js.
val Page() { return val::module_property("tolvaneDriver"); }

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
    bool Loaded(Screen s) override { return Page().call<bool>("loaded", Name(s)); }
    bool Shown(Screen s) override { return Page().call<bool>("shown", Name(s)); }
    std::pair<int, int> OffCentre(Screen s) override {
        const val off = Page().call<val>("offCentre", Name(s));
        return {off[0].as<int>(), off[1].as<int>()};
    }
    int Ticked(Screen s, int box) override {
        return Page().call<int>("ticked", Name(s), "Check" + std::to_string(box));
    }
    std::pair<platform::Rgb, platform::Rgb> Drawn(Screen s, const std::string& control) override {
        const val drawn = Page().call<val>("drawn", Name(s), control);
        return {Rgb(drawn[0]), Rgb(drawn[1])};
    }
    void DarkScheme(bool on) override { Page().call<void>("dark", on); }
    std::vector<std::u16string> Reports() override {
        return emscripten::vecFromJSArray<std::u16string>(Page().call<val>("reports"));
    }
};

} // namespace

Driver& TheDriver() {
    static WebDriver driver;
    return driver;
}

// Every fixed text on every screen shown is drawn whole in its own web face,
// in the layout the window's width asks for: one column under 700 px.
TEST(Page, EveryFixedTextIsWholeInItsFace) {
    Program program;
    for (int s = 0; s < 9; ++s)
        program.runtime().Dispatch([s] { FormOf(ScreenAt(s)).Show(); });
    const char* window = std::getenv("TOLVANE_WEB_WINDOW");
    EXPECT_EQ(Page().call<bool>("narrow"), window && std::atoi(window) < 700);
    EXPECT_EQ(Page().call<std::string>("cut"), "");
}

// The page's own end: the error report in a modal box, and once the user has
// dismissed it, a notice with the error's number.
TEST(Page, EndsWithANoticeOnceTheReportIsDismissed) {
    platform::Runtime runtime;
    EXPECT_FALSE(runtime.Run([] { throw RuntimeError(7, "Form1"); })) << "the page's loop blocked";
    EXPECT_FALSE(runtime.HasEnded()) << "ended before the report was dismissed";
    EXPECT_EQ(TheDriver().Reports().size(), 1u);
    const val notice = val::global("document").call<val>("querySelector", val(".ended"));
    EXPECT_TRUE(runtime.HasEnded() && notice["textContent"].as<std::u16string>().find(
                                          u"エラー 7") != std::u16string::npos);
    notice.call<void>("remove");
}

// A browser call that throws inside a click is a failed operation: the report ends the program.
TEST(Page, ABrowserCallThatThrowsEndsThroughTheReport) {
    Program program;
    Page().call<void>("failing", true);
    TheDriver().Press(Screen::Form1, "Check1", Input::Mouse, 0.5);
    Page().call<void>("failing", false);
    for (const std::string& problem : program.CheckFailedEnd(kInternalError))
        ADD_FAILURE() << problem;
}

} // namespace tolvane::check

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    tolvane::platform::StartToolkit(argc, argv); // as the program does before its first screen
    return RUN_ALL_TESTS();
}
