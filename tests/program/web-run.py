#!/usr/bin/python3
"""The browser build's tests in headless Chromium, failing without it, every page from a local server under a strict
Content-Security-Policy, the site from a sub-path. web-run.py SITE TESTS.js ARGS: the test program beside the site's style
sheet and fonts, with its status, in a window TOLVANE_WEB_WINDOW (width,height) in size. web-run.py SITE RUN STAGE (the
site's files under their own names), by the browser's own clicks, keys and taps: TrustedInput, a whole diagnosis, and
installable; Phone; OfflineAndUpdate; NoWasm, the notice of a site without its .wasm."""
import http.server, json, os, re, shutil, signal, subprocess, sys, tempfile, threading, urllib.parse
from pathlib import Path

POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data:; "
          "font-src 'self'; connect-src 'self'; manifest-src 'self'; worker-src 'self'; base-uri 'none'; object-src 'none'")
SITE, TESTS = "/courses/safety/", "/courses/tests/"
tests = Path(sys.argv[2]) if sys.argv[2].endswith(".js") else None
served = {"site": Path(sys.argv[1]), "offline": False, "hide": "\0"}
done, result = threading.Event(), {}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {".wasm": "application/wasm", ".webmanifest": "application/manifest+json", ".js": "text/javascript"}

    def translate_path(self, path):
        path = path.split("?")[0]
        if path.startswith(SITE):
            return str(served["site"] / path[len(SITE):])
        return str(tests.parent / path[len(TESTS):])

    def end_headers(self):
        self.send_header("Content-Security-Policy", POLICY)
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def do_GET(self):
        if served["offline"]:
            return  # no answer: the connection closes
        if self.path.endswith(served["hide"]):
            return self.send_error(404)
        if self.path == TESTS + "test.html":
            css = re.search(r'href="(tolvane\.\w+\.css)"', (served["site"] / "index.html").read_text())[1]
            page = f'<!DOCTYPE html><meta charset="utf-8"><link rel="stylesheet" href="{SITE}{css}"><script src="{tests.name}"></script>'
            self.send_response(200), self.send_header("Content-Type", "text/html; charset=utf-8")
            return self.end_headers(), self.wfile.write(page.encode())
        super().do_GET()

    def do_POST(self):
        result["status"], result["out"] = json.loads(self.rfile.read(int(self.headers["Content-Length"])))
        self.send_response(204), self.end_headers(), done.set()

    log_message = lambda *args: None


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_port}"
browser = shutil.which("chromium") or sys.exit("web-run: Chromium is not installed")
flags = ["--headless=new", "--enable-logging=stderr", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
    if tests:
        run = {"arguments": sys.argv[3:], "env": {k: v for k, v in os.environ.items() if k.startswith("TOLVANE_")}}
        page = f"{url}{TESTS}test.html#{urllib.parse.quote(json.dumps(run))}"
        size = f"--window-size={os.environ.get('TOLVANE_WEB_WINDOW', '1000,800')}"
        chromium = subprocess.Popen([browser, *flags, size, f"--user-data-dir={profile}", page],
                                    stdout=subprocess.DEVNULL, stderr=None if os.environ.get("TOLVANE_WEB_LOG") else subprocess.DEVNULL,
                                    start_new_session=True)  # its every process, to end them all
        finished = done.wait(timeout=float(os.environ.get("TOLVANE_WEB_TIMEOUT", 850)))
        os.killpg(chromium.pid, signal.SIGKILL), chromium.wait()
        print(result.get("out", "web-run: the tests did not finish"))
        sys.exit(result["status"] if finished else 1)
    from selenium.webdriver import ActionChains, Chrome, ChromeOptions, Keys
    from selenium.webdriver.support.wait import WebDriverWait
    options = ChromeOptions()
    for flag in flags + [f"--user-data-dir={profile}", "--window-size=1000,800"]:
        options.add_argument(flag)
    page = Chrome(options=options)  # with the chromedriver on the PATH
    # What the policy refuses, seen from outside the page (DevTools' scripts run whatever it says).
    page.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": "window.refused = [];"
                         "addEventListener('securitypolicyviolation', e => refused.push(e.violatedDirective + ' ' + e.blockedURI))"})
    by_id = lambda id: page.find_element("id", id)
    until = lambda test, wait=10: WebDriverWait(page, wait).until(lambda _: test())
    shown = lambda form: until(lambda: by_id(form).is_displayed())

    def answer(form, yes=(), press=lambda id: by_id(id).click()):  # by the mouse or `press`, changing only what must change
        for item in range(1, 17):
            want, other = (2 * item - 1, 2 * item) if 16 * (form == "Form2") + item in yes else (2 * item, 2 * item - 1)
            for box, ticked in ((other, False), (want, True)):
                if by_id(f"{form}-Check{box}").find_element("css selector", "input").is_selected() != ticked:
                    press(f"{form}-Check{box}")
        press(f"{form}-Command1")

    LAYOUT = """const [grown] = arguments, sheet = new CSSStyleSheet(), out = [], box = e => e.getBoundingClientRect();
    sheet.replaceSync(grown ? 'html { font-size: 200% !important } * { line-height: 1.5 !important; letter-spacing: .12em !important;' +
                      'word-spacing: .16em !important }' : ''), document.adoptedStyleSheets = [sheet];
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
    document.adoptedStyleSheets = [];
    return out;"""
    offline = lambda on: served.update(offline=on) or page.execute_cdp_cmd(
        "Network.emulateNetworkConditions", {"offline": on, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})

    def width(w, live=True):  # a phone's viewport below 700 px, touch and all, else a desktop's; the layout follows
        page.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": w, "height": 844 if w < 700 else 800, "deviceScaleFactor": 3 if w < 700 else 1, "mobile": w < 700})
        page.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": w < 700, "maxTouchPoints": 5})
        live and until(lambda: page.execute_script("return document.documentElement.classList.contains('narrow')") == (w < 700))

    try:
        served["hide"] = ".wasm" if sys.argv[2] == "NoWasm" else "\0"
        if sys.argv[2] == "Phone":
            width(390, live=False)
        page.get(url + SITE)
        if sys.argv[2] == "NoWasm":
            until(lambda: page.find_element("css selector", ".ended").is_displayed())
            notice = page.find_element("css selector", "main.ended [role=alert]")
            assert "wasm" in notice.text and notice.find_element("css selector", "h1"), notice.text
            assert not page.find_elements("css selector", ".form:not([hidden])")
        elif sys.argv[2] == "Phone":
            # A whole diagnosis by taps. On every screen, at 390 and 320 CSS px and on a desktop: axe finds nothing
            # against WCAG 2.2 A or AA, the focus stays, and in the phone's column (LAYOUT) nothing is cut, overlaps or
            # leaves the viewport, text ≥ 16 px, targets ≥ 44 px, also with text twice the size and spaced as in 1.4.12.
            def tap(id):  # brought into view as a finger scrolls, then tapped in the middle
                x, y = page.execute_script("const e = document.getElementById(arguments[0]); e.scrollIntoView({block: 'center'});"
                                           "const r = e.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]", id)
                for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
                    page.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

            def check(screen):  # leaving the viewport at 390 and 320 px in turn for the taps that follow
                focus, widths[:] = page.execute_script("return document.activeElement"), widths[::-1]
                for w in widths:
                    width(w)
                    for grown in (False, True) if w < 700 else ():
                        assert not (cut := page.execute_script(LAYOUT, grown)), f"{screen} at {w} px{' grown' * grown}: {cut}"
                    # The desktop's windows keep their designed sizes and places (a 17 px paragraph, a
                    # dialog over the page's boxes): targets are judged in the phone's column.
                    found = page.execute_async_script("axe.run(document, {runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'],"
                        "rules: {'target-size': {enabled: arguments[0]}}}).then(r => arguments[1](r.violations.map(v => v.id + ': ' +"
                        "v.nodes.map(n => n.target))))", w < 700)
                    assert not found and page.execute_script("return document.activeElement") == focus, f"{screen} at {w} px: {found}"

            widths = [390, 1000, 320]
            shown("Form1"), page.execute_script(Path(__file__).parents[2].joinpath("tools/npm/node_modules/axe-core/axe.min.js").read_text())
            for dialog, page_ in (("Form3", "Form1"), ("Form4", "Form2")):
                tap(f"{page_}-Command1")
                shown(dialog), check(dialog), tap(f"{dialog}-Command1")
                check(page_), answer(page_, {2, 3, 4, 6, 7, 8, 9, 23}, tap)
            results = []
            for yes in ({11, 12, 13}, {2, 6, 11}, None):  # Form5, 6 and 8 came of the first answers
                while not by_id("Form1").is_displayed():
                    screen = until(lambda: next(f for f in range(5, 10) if page.find_elements("css selector", f"#Form{f}:not([hidden])")))
                    results.append(screen), check(f"Form{screen}"), tap(f"Form{screen}-Command1")
                yes and (answer("Form1", yes, tap), answer("Form2", yes, tap))
            assert results == [5, 6, 8, 7, 9], results
            tap("Form1-Command3"), until(lambda: page.find_element("css selector", "main.ended").is_displayed()), check("the end")
        elif sys.argv[2] == "OfflineAndUpdate":
            # Once page 1 is up, its files are kept: offline, a reload still reaches page 2.
            shown("Form1")
            until(lambda: page.execute_script("return !!navigator.serviceWorker.controller"))
            offline(True)
            page.refresh()
            shown("Form1")
            answer("Form1")
            shown("Form2")
            offline(False)
            # A new build, its style sheet changed, served over the old one: the next load shows it,
            # and it is what is kept from then on.
            stage = Path(profile) / "stage"
            shutil.copytree(sys.argv[3], stage)
            (stage / "tolvane.css").write_text((stage / "tolvane.css").read_text() + "body { background: rgb(1, 2, 3); }")
            subprocess.run([sys.executable, Path(__file__).parents[2] / "tools/web-site.py", stage, Path(profile) / "new"], check=True)
            served["site"] = Path(profile) / "new"
            version = re.search(r"VERSION = '(\w+)'", (served["site"] / "sw.js").read_text())[1]
            background = "return getComputedStyle(document.body).backgroundColor"
            for network in (True, False):
                offline(not network)
                page.refresh()
                shown("Form1")
                assert page.execute_script(background) == "rgb(1, 2, 3)", "the old build still shows"
                until(lambda: page.execute_async_script("caches.keys().then(arguments[0])") == [
                      f"tolvane {url}{SITE} {version}"])
        else:
            # Yes to item 1 by Space on the first focus, no to all else by the mouse; on the result
            # screen, typing and Tab then Enter on its button: page 1 again.
            shown("Form1")
            ActionChains(page).send_keys(" ").perform()
            answer("Form1", {1}), answer("Form2")
            shown("Form8")
            by_id("Form8-Text2").click()
            ActionChains(page).send_keys(Keys.END, "안전 ok", Keys.TAB, Keys.ENTER).perform()
            shown("Form1")
            seen = [by_id(f"Form1-Check{n}").find_element("css selector", "input").is_selected() for n in (1, 2, 4)]
            seen += [by_id("Form8-Text2").get_property("value")[-5:]]
            assert seen + [by_id("Form8").is_displayed()] == [True, False, True, "안전 ok", False], seen
            errors = page.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
            assert not errors, f"not installable: {errors}"
        assert not page.execute_script("return refused"), page.execute_script("return refused")
        print(f"web-run: {sys.argv[2]} passed")
    finally:
        page.quit()
