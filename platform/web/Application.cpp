#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <functional>

#include "Colours.h"
#include "Controls.h"
#include "Runtime.h"
#include "RuntimeError.h"
#include "WebWindow.h"
#include "Window.h"

namespace tolvane::platform {
namespace {

using emscripten::val;

// The error report while it is up, and what follows its dismissal.
val reportBox = val::null();
val reportOk = val::null();
std::function<void()> dismissed;

void OnKey(val event) {
    if (reportBox.isNull()) return HandleKey(event);
    // The report is modal: the keys stay with its one button.
    if (event["key"].as<std::string>() == "Tab") {
        event.call<void>("preventDefault");
        reportOk.call<void>("focus");
    }
}

void Dismiss() {
    if (reportBox.isNull()) return;
    reportBox.call<void>("remove");
    reportBox = reportOk = val::null();
    std::function<void()> then = std::move(dismissed);
    then();
}

// A call into the page threw, through whatever the program was doing (page.js).
void Failed(std::string what) {
    Runtime::Current().Abandoned(RuntimeError(kInternalError, "browser: " + what));
}

} // namespace

std::shared_ptr<void> StartToolkit(int, char*[]) {
    static const bool started = [] {
        const auto css = [](Rgb c) {
            return "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
                   std::to_string(c.blue) + ")";
        };
        Page().call<void>("start", css(kPageGreyRgb), css(kDisabledTextRgb));
        return true;
    }();
    (void)started;
    return nullptr;
}

// The browser runs the loop: the page stays after main has returned.
std::optional<int> RunEventLoop() { return std::nullopt; }

void QuitEventLoop(int, std::u16string_view words) {
    // Ended: a new load starts afresh.
    Page().call<void>("forget");
    // The page's main content now, headed by what happened.
    val notice = Element("main", "ended");
    val text = Element("h1", "notice");
    text.set("textContent", val(std::u16string(words)));
    val again = Element("button", "again");
    again.set("type", "button");
    again.set("textContent", val(std::u16string(u"もう一度診断する")));
    Page().call<void>("reloadOn", again);
    notice.call<void>("appendChild", text);
    notice.call<void>("appendChild", again);
    Document()["body"].call<void>("appendChild", notice);
    again.call<void>("focus");
}

void PresentErrorReport(const ErrorReport& report, std::function<void()> then) {
    Page().call<void>("forget");
    dismissed = std::move(then);
    reportBox = Element("div", "modal");
    val box = Element("section", "report");
    box.call<void>("setAttribute", val("role"), val("alertdialog"));
    box.call<void>("setAttribute", val("aria-modal"), val("true"));
    box.call<void>("setAttribute", val("aria-labelledby"), val("report-title"));
    box.call<void>("setAttribute", val("aria-describedby"), val("report-text"));
    val title = Element("div", "titlebar");
    title.set("id", "report-title");
    title.set("textContent", val(report.title));
    val text = Element("p", "report-text");
    text.set("id", "report-text");
    text.set("textContent", val(report.text));
    reportOk = Element("button", "ok");
    reportOk.set("type", "button");
    reportOk.set("textContent", "OK");
    Page().call<void>("listen", reportOk, val("click"), val("tolvaneDismiss"));
    box.call<void>("appendChild", title);
    box.call<void>("appendChild", text);
    box.call<void>("appendChild", reportOk);
    reportBox.call<void>("appendChild", box);
    Document()["body"].call<void>("appendChild", reportBox);
    reportOk.call<void>("focus");
}

EMSCRIPTEN_BINDINGS(tolvane_page) {
    emscripten::function("tolvaneKey", &OnKey);
    emscripten::function("tolvaneDismiss", &Dismiss);
    emscripten::function("tolvaneFailed", &Failed);
}

} // namespace tolvane::platform
