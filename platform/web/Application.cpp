#include "Application.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <functional>

#include "Controls.h"
#include "WebWindow.h"
#include "Window.h"

namespace tolvane::platform {
namespace {

using emscripten::val;

val Script(const char* body) { return val::global("Function").new_(val(body)); }

// The error report while it is up, and what follows its dismissal.
val reportBox = val::null();
val reportOk = val::null();
std::function<void()> dismissed;
int reportNumber = 0;

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

} // namespace

std::shared_ptr<void> StartToolkit(int, char*[]) {
    static const bool listening = [] {
        // Before the browser acts on a key: no submit, no scroll, no leaving the windows.
        Document().call<void>("addEventListener", val("keydown"),
                              Script("return function (event) { Module.tolvaneKey(event); };")(),
                              val(true));
        // A window moves by its title bar, as on the desktop, never so far up
        // or left that the bar is out of reach.
        Script(R"(document.addEventListener('pointerdown', function (down) {
            var bar = down.target.closest && down.target.closest('.form > .titlebar');
            if (!bar || down.button !== 0 || down.target.closest('button')) return;
            var form = bar.parentElement, x = down.pageX - form.offsetLeft, y = down.pageY - form.offsetTop;
            bar.setPointerCapture(down.pointerId);
            bar.onpointermove = function (move) {
                form.style.left = Math.max(0, move.pageX - x) + 'px';
                form.style.top = Math.max(0, move.pageY - y) + 'px';
            };
            bar.onpointerup = function () { bar.onpointermove = null; };
        });)")();
        return true;
    }();
    (void)listening;
    return nullptr;
}

// The browser runs the loop: the page stays after main has returned.
std::optional<int> RunEventLoop() { return std::nullopt; }

void QuitEventLoop(int status) {
    val notice = Element("section", "ended");
    notice.call<void>("setAttribute", val("role"), val("status"));
    val text = Element("p", "notice");
    text.set("textContent", val(EndNotice(status, reportNumber)));
    val again = Element("button", "again");
    again.set("type", "button");
    again.set("textContent", val(std::u16string(u"もう一度診断する")));
    again.set("onclick", Script("location.reload();"));
    notice.call<void>("appendChild", text);
    notice.call<void>("appendChild", again);
    Document()["body"].call<void>("appendChild", notice);
    again.call<void>("focus");
}

std::u16string EndNotice(int status, int errorNumber) {
    if (status == 0) return u"診断を終了しました．";
    std::u16string number;
    for (const char digit : std::to_string(errorNumber))
        number += static_cast<char16_t>(digit);
    return u"エラーのため，プログラムを終了しました（実行時エラー " + number + u"）．";
}

void PresentErrorReport(const ErrorReport& report, std::function<void()> then) {
    reportNumber = report.number;
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
    reportOk.set("onclick", Script("Module.tolvaneDismiss();"));
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
}

} // namespace tolvane::platform
