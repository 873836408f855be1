#!/usr/bin/python3
"""The browser build's tests in headless Chromium, failing without it, every page from a local server
under a strict Content-Security-Policy, the site from a sub-path. web-run.py SITE TESTS.js ARGS: the
test program beside the site's style sheet and fonts, with its status. web-run.py SITE RUN STAGE (the
site's files under their own names), by the browser's own clicks and keys: TrustedInput, a whole
diagnosis, and installable; OfflineAndUpdate; NoWasm, the notice of a site without its .wasm."""
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
        chromium = subprocess.Popen([browser, *flags, f"--user-data-dir={profile}", page],
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

    def answer(form, first_item=0):  # no to every item, by the mouse; then the page's 次へ
        for item in range(first_item, 16):
            by_id(f"{form}-Check{2 * item + 2}").click()
        by_id(f"{form}-Command1").click()

    offline = lambda on: served.update(offline=on) or page.execute_cdp_cmd(
        "Network.emulateNetworkConditions", {"offline": on, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})

    try:
        served["hide"] = ".wasm" if sys.argv[2] == "NoWasm" else "\0"
        page.get(url + SITE)
        if sys.argv[2] == "NoWasm":
            until(lambda: page.find_element("css selector", ".ended").is_displayed())
            notice = page.find_element("css selector", "main.ended [role=alert]")
            assert "wasm" in notice.text and notice.find_element("css selector", "h1"), notice.text
            assert not page.find_elements("css selector", ".form:not([hidden])")
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
            answer("Form1", 1)
            answer("Form2")
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
