#!/usr/bin/python3 -B
"""The browser build's tests in one engine of tools/web_engines.py, every page from a local server under the site's
policy as README gives it (a refusal fails the run), the site from a sub-path. web-run.py ENGINE SITE TESTS.js ARGS:
the test program beside the site's style sheet and fonts, in a viewport TOLVANE_WEB_WINDOW (width,height) in size.
web-run.py ENGINE SITE RUN STAGE (the site's files by their own names), by the engine's own clicks and keys: Diagnosis
(and a crash), Phone, OfflineAndUpdate, the notices of a site without its .wasm and of an engine without WebAssembly."""
import base64, http.server, json, os, re, shutil, subprocess, sys, tempfile, threading, time, traceback, urllib.parse
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools"))
from web_engines import END, ENGINES, ENTER, TAB, until
POLICY = re.search(r"`Content-Security-Policy: ([^`]+)`", (ROOT / "README.md").read_text())[1]
SITE, TESTS = "/courses/safety/", "/courses/tests/"
engine, run = sys.argv[1], sys.argv[3]
tests = Path(run) if run.endswith(".js") else None
window = [int(n) for n in os.environ.get("TOLVANE_WEB_WINDOW", "1000,800").split(",")]
name = f"{engine}." + ("WholeProgram" + "OnAPhone" * (window[0] < 700) if tests else run)
served = {"site": Path(sys.argv[2]), "offline": False, "hide": "\0", "preload": "", "status": 0, "hold": 0,
          "wasm": threading.Event(), "slow": 0, "asked": []}
served["wasm"].set()  # cleared, the .wasm is held back; the faces are slow by "slow" s
done, result, refused = threading.Event(), {}, []


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {".wasm": "application/wasm", ".webmanifest": "application/manifest+json", ".js": "text/javascript"}

    def translate_path(self, path):
        path = path.split("?")[0]
        return str(served["site"] / path[len(SITE):] if path.startswith(SITE) else (tests or served["site"]).parent / path[len(TESTS):])

    def end_headers(self):  # what the policy refuses, in any engine and in the service worker, is reported here
        self.send_header("Content-Security-Policy", f"{POLICY}; report-uri {TESTS}refused")
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def do_GET(self):
        if served["offline"]:
            return  # no answer: the connection closes
        if self.path == SITE and (status := served["status"]):  # an error for the page, held back (the test goes on meanwhile)
            return time.sleep(served["hold"]), self.send_error(status)
        index = (served["site"] / "index.html").read_text()
        css = re.search(r"tolvane\.\w+\.css", index)[0]
        page = {TESTS + "test.html": tests and f'<!DOCTYPE html><meta charset="utf-8"><link rel="stylesheet" href="{SITE}{css}">'
                f'<script src="{tests.name}"></script>',
                # A script of the test's ahead of the page's own.
                SITE: served["preload"] and index.replace("<head>", f'<head><script src="{TESTS}preload.js"></script>'),
                TESTS + "preload.js": served["preload"], TESTS + "elsewhere": "<!DOCTYPE html><title>elsewhere</title>"}.get(self.path)
        if not page:
            self.path.endswith(".wasm") and served["wasm"].wait(10)
            served["asked"].append(self.path), self.path.endswith(".woff2") and time.sleep(served["slow"])
            self.send_error(404) if self.path.endswith(served["hide"]) else super().do_GET()
            return served["asked"].append("in " + self.path)
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8" if "<" in page else "text/javascript")
        self.end_headers(), self.wfile.write(page.encode())

    def do_POST(self):
        body = json.loads(self.rfile.read(int(self.headers["Content-Length"])))
        if self.path.endswith("refused"):
            refused.append(f"{body['csp-report']['violated-directive']} {body['csp-report']['blocked-uri']}")
        else:
            (result["status"], result["out"]), _ = body, done.set()
        self.send_response(204), self.end_headers()

    log_message = lambda *args: None


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_port}"
with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
    page = ENGINES[engine](profile)
    js = page.js
    view = lambda: "{} × {} px".format(*js("return [innerWidth, innerHeight]"))
    # Shown, and page 1 as served taken over by the program.
    shown = lambda form, what=None: until(lambda: js("return document.querySelector(arguments[0])?.checkVisibility() &&"
                                                     "!document.querySelector('[aria-disabled]')", form), what=what or form)
    ticked = lambda form: js("return [...Array(32).keys()].map(n => document.querySelector("
                             "`#${arguments[0]}-Check${n + 1} input`).checked)", form)

    def answer(form, yes=()):  # changing only what must change
        was = ticked(form)
        for item in range(1, 17):
            want, other = (2 * item - 1, 2 * item) if 16 * (form == "Form2") + item in yes else (2 * item, 2 * item - 1)
            [page.click(f"{form}-Check{box}") for box, tick in ((other, False), (want, True)) if was[box - 1] != tick]
        page.click(f"{form}-Command1")

    def on_paper(form):  # printed, dragged far down, in a dark scheme: one A4 page, black on white, the caption, every text
        # box whole, each statement with its ticked answer as text, no button. In Chromium, whose print is Page.printToPDF.
        page.cdp("Emulation.setEmulatedMedia", {"media": "print", "features": [{"name": "prefers-color-scheme", "value": "dark"}]})
        grey = js("const f = document.getElementById(arguments[0]); f.dataset.y = f.style.getPropertyValue('--y');"
                  "f.style.setProperty('--y', '3000px'); return [...f.querySelectorAll('*')]"
                  ".filter(e => e.checkVisibility() && (s => s.color + s.backgroundColor)(getComputedStyle(e)) != 'rgb(0, 0, 0)rgba(0, 0, 0, 0)')"
                  ".map(e => e.id || e.className)", form)
        (pdf := Path(profile) / "print.pdf").write_bytes(base64.b64decode(page.cdp("Page.printToPDF", {"preferCSSPageSize": True})["data"]))
        page.cdp("Emulation.setEmulatedMedia", {"media": "", "features": []})
        info, text = (subprocess.run(a, capture_output=True, check=True).stdout.decode() for a in (["pdfinfo", pdf], ["pdftotext", pdf, "-"]))
        want, buttons = js("const f = document.getElementById(arguments[0]), all = s => [...f.querySelectorAll(s)], text = e => e.value ?? e."
                           "textContent; f.style.setProperty('--y', f.dataset.y); return [[f.querySelector('.caption'), ...all('textarea')].map(text)"
                           ".concat(all('.leader').map(l => l.parentElement).map(s => text(s) + text([s.nextSibling, s.nextSibling.nextSibling].find("
                           "c => c.firstChild.checked)))), all('button').map(b => b.textContent)]", form)
        missing = [w for w in want if re.sub(r"[\s・]", "", w) not in re.sub(r"[\s・]", "", text)] + [b for b in buttons if b in text]
        assert re.search(r"Pages: +1\n[^$]*\(A4\)", info) and not missing + grey, f"{form} printed: {missing + grey or info}"

    LAYOUT = """const [grown] = arguments, sheet = new CSSStyleSheet(), out = [], box = e => e.getBoundingClientRect();
    const sheets = document.adoptedStyleSheets;
    sheet.replaceSync(grown ? 'html { font-size: 200% !important } * { line-height: 1.5 !important; letter-spacing: .12em !important;' +
                      'word-spacing: .16em !important }' : ''), document.adoptedStyleSheets = [...sheets, sheet];
    dispatchEvent(new Event('resize'));  // as a browser's text zoom comes
    const view = document.documentElement.clientWidth, shown = [...document.querySelectorAll('.form')].filter(f => f.checkVisibility());
    if (document.documentElement.scrollWidth > view) out.push('the page scrolls sideways');
    for (const [all, close] of shown.map(f => [[...f.querySelectorAll('.client > *')].filter(e => e.checkVisibility()), f.querySelector('.close')]))
      for (const e of [...all, close].filter(e => e)) {
        const r = box(e), text = e.tagName === 'LABEL' ? e.lastChild : e, say = what => out.push((e.id || 'close') + what);
        if (r.left < -0.5 || r.right > view + 0.5) say(' leaves the viewport');
        if (parseFloat(getComputedStyle(text).fontSize) < 16) say(' has text under 16px');
        if (e.matches('.check, button') && Math.min(r.width, r.height) < 44) say(' is under 44px');
        if (text.scrollWidth > text.clientWidth + 1 || text.scrollHeight > text.clientHeight + 1) say(' is cut');
        for (const o of all.filter(o => o !== e).map(box))
          if (Math.min(r.right, o.right) - Math.max(r.left, o.left) > 0.5 && Math.min(r.bottom, o.bottom) - Math.max(r.top, o.top) > 0.5)
            say(' overlaps another');
      }
    document.adoptedStyleSheets = sheets, dispatchEvent(new Event('resize'));
    return out;"""
    try:
        if tests:
            page.size(*window)
            arguments = {"arguments": sys.argv[4:], "env": {k: v for k, v in os.environ.items() if k.startswith(("TOLVANE_", "GTEST_"))}}
            page.get(f"{url}{TESTS}test.html#{urllib.parse.quote(json.dumps(arguments))}", wait=False)
            finished = done.wait(timeout=float(os.environ.get("TOLVANE_WEB_TIMEOUT", 120)))
            print(result.get("out", "the tests did not finish"))
            assert finished and not result["status"], f"the tests ended with {result.get('status')}"
        elif run in ("NoWasm", "NoWebAssembly"):  # the notice, with its reason, and no window
            served["hide" if run == "NoWasm" else "preload"] = ".wasm" if run == "NoWasm" else "delete window.WebAssembly"
            page.get(url + SITE)
            reason = until(lambda: js("return document.querySelector('main.ended')?.dataset.reason"), what="the notice")
            assert reason == ("file" if run == "NoWasm" else "wasm"), f"the notice gives the reason {reason}"
            assert not js("return [...document.querySelectorAll('.form, .modal')].some(f => f.checkVisibility())"), "a window is up"
        elif run == "Phone":
            # A whole diagnosis, tapped in Chromium's phone emulation with field-sizing hidden and turned off (its
            # fallback runs on purpose), clicked elsewhere. On every screen at each size in turn (in Chromium: a phone
            # upright at 390 and 320 px and held sideways, and a desktop with a mouse) the focus stays, and in the
            # column (LAYOUT) nothing is cut, overlaps or leaves the viewport, text ≥ 16 px, targets ≥ 44 px, also with
            # text twice the size and spaced as in WCAG 1.4.12; in Chromium axe finds nothing against WCAG 2.2 A or AA.
            sizes = [(390, 844, True)] + [(1000, 800, False), (844, 390, True), (320, 844, True)] * (engine == "chromium")
            served["preload"] = engine == "chromium" and (
                "const supports = CSS.supports, sheet = new CSSStyleSheet(); document.adoptedStyleSheets = [sheet];"
                "sheet.replaceSync('textarea { field-sizing: fixed !important }');"
                "CSS.supports = (...a) => !/field-sizing/.test(a) && supports.apply(CSS, a)")

            def check(screen):  # leaving the first size or the last in turn for the taps that follow
                js("window.before = document.activeElement"), sizes.reverse()
                for w, h, phone in sizes:
                    page.size(w, h, phone)
                    until(lambda: js("return [matchMedia('(pointer: coarse)').matches, document.documentElement.classList"
                                     ".contains('narrow')]") == [page.touch, w < 700 or page.touch], what=f"the layout at {w} px")
                    for grown in (False, True) if w < 700 or phone else ():
                        assert not (cut := js(LAYOUT, grown)), f"{screen} at {view()}{' grown' * grown}: {cut}"
                    # The desktop's windows keep their designed sizes and places (a 17 px paragraph, a dialog over the
                    # page's boxes): targets are judged in the column.
                    found = engine == "chromium" and js("return axe.run(document, {runOnly: ['wcag2a', 'wcag2aa', 'wcag21a',"
                        "'wcag21aa', 'wcag22aa'], rules: {'target-size': {enabled: arguments[0]}}}).then(r => r.violations.map("
                        "v => v.id + ': ' + v.nodes.map(n => n.target)))", phone)
                    assert not found and js("return document.activeElement === window.before"), f"{screen} at {view()}: {found}"

            page.size(*sizes[0]), page.get(url + SITE), shown("#Form1")
            engine == "chromium" and js(ROOT.joinpath("tools/npm/node_modules/axe-core/axe.min.js").read_text())
            for dialog, form in (("Form3", "Form1"), ("Form4", "Form2")):
                shown(f"#{form}"), page.click(f"{form}-Command1"), shown(f"#{dialog}"), check(dialog), page.click(f"{dialog}-Command1")
                check(form), answer(form, {2, 3, 4, 6, 7, 8, 9, 23})
            results = []
            for yes in ({11, 12, 13}, {2, 6, 11}, None):  # Form5, 6 and 8 came of the first answers
                while not js("return document.getElementById('Form1').checkVisibility()"):
                    screen = until(lambda: js("return [5, 6, 7, 8, 9].find(f => document.querySelector(`#Form${f}:not([hidden])`))"))
                    results.append(screen), check(f"Form{screen}"), screen == 5 and engine == "chromium" and on_paper("Form5")
                    page.click(f"Form{screen}-Command1")
                yes and (answer("Form1", yes), answer("Form2", yes))
            assert results == [5, 6, 8, 7, 9], results
            page.click("Form1-Command3"), shown("main.ended"), check("the end")
        elif run == "Resume":
            # A reload returns to the run as the user sees it: mid page 2 with text typed on a result screen visited
            # earlier, and again with the check-error dialog open; going to another page and back finds it kept whole
            # (no unload, nothing else that bars the back/forward cache). The end, and a kept run that does not read
            # back whole, give an empty page 1 with no report.
            seen = lambda: js("const shown = [...document.querySelectorAll('.form')].filter(f => f.checkVisibility());"
                              "return [shown.sort((a, b) => a.style.zIndex - b.style.zIndex).map(f => f.id), [...document."
                              "querySelectorAll('.check input')].filter(b => b.checked).map(b => b.parentNode.id), [...document."
                              "querySelectorAll('textarea')].map(t => t.value), document.activeElement.closest('.client > *')?.id,"
                              "!!document.querySelector('.modal')]")
            page.get(url + SITE), shown("#Form1")
            fresh = seen()
            answer("Form1", {2, 3, 4, 6, 7, 8, 9, 23}), answer("Form2", {2, 3, 4, 6, 7, 8, 9, 23}), shown("#Form5")
            page.click("Form5-Text2"), page.keys(END, "안전 ok"), page.click("Form5-Command1")
            while not js("return document.getElementById('Form1').checkVisibility()"):
                page.click(js("return document.querySelector('.form:not([hidden]) button').id"))
            page.click("Form1-Command1"), shown("#Form2"), page.click("Form2-Check4"), page.click("Form2-Check6")
            for step in ("mid page 2", "with the dialog open"):
                before = seen()
                page.get(url + SITE), until(lambda: seen() == before, what=f"the run {step} after a reload: {before}")
                step == "mid page 2" and (page.click("Form2-Command1"), shown("#Form4"))
            # A moment for the page's own requests to end (the worker's update check): Firefox keeps no page with one
            # in flight, and once in a while not even then, so it has a second go.
            for go in range(1 + (engine == "firefox")):
                js("window.kept = 1"), time.sleep(1), page.get(url + TESTS + "elsewhere"), js("history.back()")
                kept = until(lambda: js("return document.getElementById('Form4')?.checkVisibility() && [window.kept === 1]"),
                             what="page 2 and its dialog back")[0]
                if kept:
                    break
            assert kept, "the page did not come back from the back/forward cache"
            page.click("Form4-Command1"), page.click("Form2-Command2"), shown("main.ended")
            for state in ("", "{", "another build", "a screen it does not have"):
                state and js("const [state, key] = arguments, build = Module.tolvane.build; sessionStorage.setItem(key, state"
                             "=== '{' ? state : JSON.stringify({build: state === 'another build' ? 'another' : build, screens: "
                             "[{name: 'Form0', visible: true, values: [], texts: []}], front: ['Form0'], focus: '', data: "
                             "[0, 0, 0, 0, 0, 0, 0, 0]}))", state, f"tolvane {SITE}")
                page.get(url + SITE), shown("#Form1")
                assert seen() == fresh, f"{state or 'after the end'}: {seen()}"
        elif run == "OfflineAndUpdate":
            # Once page 1 is up, its files are kept: with no answer from the server, a reload still reaches page 2.
            page.get(url + SITE), shown("#Form1")
            until(lambda: js("return !!navigator.serviceWorker.controller"), what="the service worker")
            served["offline"] = True
            page.get(url + SITE), shown("#Form1"), answer("Form1"), shown("#Form2")
            # A server's error, and one held back as on a weak signal: the kept site, at once or after the worker's 3 s wait,
            # and in it the run as it was (page 2).
            for row, served["status"], served["hold"] in (("a server's error", 503, 0), ("an answer held back", 504, 10)):
                start, served["offline"] = time.monotonic(), False
                page.get(url + SITE), shown("#Form2", f"page 2, where the run was, after {row}")
                assert time.monotonic() - start < 5, f"page 1 {time.monotonic() - start:.1f} s after {row}"
            # A new build over the old: the next load shows it as the server sends it (a test's script marks it), and as kept.
            stage, served["site"], served["status"] = Path(profile) / "stage", Path(profile) / "new", 0
            shutil.copytree(sys.argv[4], stage)
            (stage / "tolvane.css").write_text((stage / "tolvane.css").read_text() + "body { background: rgb(1, 2, 3); }")
            subprocess.run([sys.executable, ROOT / "tools/web-site.py", stage, served["site"]], check=True)
            version = re.search(r"VERSION = '(\w+)'", (served["site"] / "sw.js").read_text())[1]
            # The open page of the old build, as the new one takes over, still gets its files, which the server has no more.
            assert js("const sw = navigator.serviceWorker; return new Promise(done => (sw.oncontrollerchange = done, setTimeout("
                      "done, 9000), sw.getRegistration().then(r => r.update()))).then(took => took && fetch(document.styleSheets[0]"
                      ".href)).then(r => r?.ok)"), "the new build did not take over, or the old page's files went with it"
            for served["offline"], served["preload"] in ((False, "self.fresh = 1"), (True, "")):
                page.get(url + SITE), shown("#Form2")
                seen = js("return [getComputedStyle(document.body).backgroundColor, !!self.fresh]")
                assert seen == ["rgb(1, 2, 3)", not served["offline"]], f"the old build or not the server's page: {seen}"
                until(lambda: js("return caches.keys()") == [f"tolvane {url}{SITE} {version}"], what="the new build kept")
        else:
            # Page 1 as served takes ticks and the focus before the program has come, which takes over those same
            # elements: the ticks count, Space on the kept focus ticks item 4's no, once, and a click follows the rule
            # from a kept tick. Typing and Tab, Enter on a result: page 1 again.
            served["wasm"].clear(), served["asked"].clear(), served.update(slow=0.5), page.get(url + SITE, wait=False)
            until(lambda: js("return document.getElementById('Form1')?.checkVisibility({visibilityProperty: true})"), what="page 1 as served")
            js("window.served = [...document.querySelectorAll('#Form1, #Form1 *')]")
            [page.click(f"Form1-Check{box}") for box in (1, 4, 6)]
            js("document.querySelector('#Form1-Check8 input').focus()"), served["wasm"].set()
            shown("#Form1")  # the program asked for only once both faces were in: on a slow line it held them back
            asked, served["slow"] = served["asked"], 0
            program = next(i for i, path in enumerate(asked) if re.search(r"/tolvane\.\w+\.js$", path))
            faces_in = sum(path.startswith("in ") and path.endswith(".woff2") for path in asked[:program])
            assert faces_in == 2, f"the program came with the faces: {asked}"
            kept = js("const now = [...document.querySelectorAll('#Form1, #Form1 *')]; return [now.length === served.length &&"
                      "now.every((e, i) => e === served[i]), document.activeElement.parentNode.id]")
            assert kept == [True, "Form1-Check8"], f"page 1 as served was not kept: {kept}"
            assert ticked("Form1")[:6] == [True, False, False, True, False, True], ticked("Form1")[:6]
            page.keys(" "), page.click("Form1-Check1"), until(lambda: not ticked("Form1")[0], what="a click from a kept tick")
            page.click("Form1-Check1")
            assert ticked("Form1")[:8] == [True, False, False, True, False, True, False, True], ticked("Form1")[:8]
            answer("Form1", {1}), answer("Form2"), shown("#Form8"), engine == "chromium" and on_paper("Form8")
            page.click("Form8-Text2"), page.keys(END, "안전 ok", TAB, ENTER), shown("#Form1")
            seen = [ticked("Form1")[n - 1] for n in (1, 2, 4)] + [js("return document.getElementById('Form8-Text2').value")[-5:]]
            seen += [js("return document.getElementById('Form8').checkVisibility()")]
            assert seen == [True, False, True, "안전 ok", False], seen
            engine == "chromium" and on_paper("Form1")
            errors = engine == "chromium" and page.cdp("Page.getInstallabilityErrors", {})["installabilityErrors"]
            assert not errors, f"not installable: {errors}"
            js("Object.defineProperty(HTMLInputElement.prototype, 'indeterminate', {set() { throw new WebAssembly.RuntimeError('planted'); }})")
            page.click("Form1-Check3"), shown("main.ended[data-reason=crash]")
            assert not js("return [...document.querySelectorAll('.form')].some(f => f.checkVisibility())"), "a window stays"
        assert not refused, f"refused by the policy: {refused}"
        print(f"web-run: {name} passed")
    except Exception as fault:
        isinstance(fault, AssertionError) or traceback.print_exc()
        sys.exit(f"web-run: {name} failed: {fault}")
    finally:
        page.quit()
