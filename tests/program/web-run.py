#!/usr/bin/python3
"""The browser build's tests in headless Chromium from a local server, failing without it.
web-run.py SITE TESTS.js: the test program beside the site's style sheet and fonts, with its
status. web-run.py SITE: a whole diagnosis by the browser's own (trusted) clicks and keys."""
import http.server, json, os, shutil, signal, subprocess, sys, tempfile, threading
from pathlib import Path

site, tests = Path(sys.argv[1]), Path(sys.argv[2]) if len(sys.argv) > 2 else None
done, result = threading.Event(), {}
PAGE = """<!DOCTYPE html><meta charset="utf-8"><link rel="stylesheet" href="/site/tolvane.css">
<style>@font-face { font-family: probe; src: local("IPAGothic"); size-adjust: 150%%; }</style>
<body><script>
var lines = [], finish = s => fetch('/exit', {method: 'POST', body: JSON.stringify([s, lines.join('\\n')])});
var Module = {arguments: %s, print: t => lines.push(t), printErr: t => lines.push(t),
  preRun: [() => Object.assign(ENV, %s)], onExit: finish, onAbort: () => finish(134)};
onerror = (message) => (lines.push(message), finish(1));  // a script error ends the run too
Promise.all(['"ＭＳ Ｐゴシック"', '"ＭＳ ゴシック"', 'probe'].map(f => document.fonts.load('9pt ' + f))).then(() =>
  document.body.appendChild(Object.assign(document.createElement('script'), {src: '%s'})));
</script>"""


class Handler(http.server.SimpleHTTPRequestHandler):
    def translate_path(self, path):
        if path.startswith("/site/"):
            return str(site / path[6:].split("?")[0])
        return str(tests.parent / path.lstrip("/").split("?")[0]) if tests else ""

    def do_GET(self):
        if self.path != "/test.html":
            return super().do_GET()
        env = {k: v for k, v in os.environ.items() if k.startswith("TOLVANE_")}
        body = (PAGE % (json.dumps(sys.argv[3:]), json.dumps(env), tests.name)).encode()
        self.send_response(200), self.send_header("Content-Type", "text/html; charset=utf-8")
        self.end_headers(), self.wfile.write(body)

    def do_POST(self):
        result["status"], result["out"] = json.loads(self.rfile.read(int(self.headers["Content-Length"])))
        self.send_response(204), self.end_headers(), done.set()

    log_message = lambda *args: None


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_port}/"
browser = shutil.which("chromium") or sys.exit("web-run: Chromium is not installed")
flags = ["--headless=new", "--enable-logging=stderr", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
    if tests:
        chromium = subprocess.Popen([browser, *flags, f"--user-data-dir={profile}", url + "test.html"],
                                    stdout=subprocess.DEVNULL, stderr=None if os.environ.get("TOLVANE_WEB_LOG") else subprocess.DEVNULL,
                                    start_new_session=True)  # its every process, to end them all
        finished = done.wait(timeout=float(os.environ.get("TOLVANE_WEB_TIMEOUT", 850)))
        os.killpg(chromium.pid, signal.SIGKILL), chromium.wait()
        print(result.get("out", "web-run: the tests did not finish"))
        sys.exit(result["status"] if finished else 1)
    # Yes to item 1 by Space on the first focus, no to all else by the mouse; on
    # the result screen, typing and Tab then Enter on its button: page 1 again.
    from selenium.webdriver import ActionChains, Chrome, ChromeOptions, Keys
    from selenium.webdriver.support.wait import WebDriverWait
    options = ChromeOptions()
    for flag in flags + [f"--user-data-dir={profile}", "--window-size=1000,800"]:
        options.add_argument(flag)
    page = Chrome(options=options)  # with the chromedriver on the PATH
    try:
        page.get(url + "site/index.html")
        by_id = lambda id: page.find_element("id", id)
        shown = lambda form: WebDriverWait(page, 10).until(lambda _: by_id(form).is_displayed())
        shown("Form1")
        ActionChains(page).send_keys(" ").perform()
        for page_number, form in enumerate(("Form1", "Form2")):
            for item in range(1 - page_number, 16):
                by_id(f"{form}-Check{2 * item + 2}").click()
            by_id(f"{form}-Command1").click()
        shown("Form8")
        by_id("Form8-Text2").click()
        ActionChains(page).send_keys(Keys.END, "안전 ok", Keys.TAB, Keys.ENTER).perform()
        shown("Form1")
        seen = [by_id(f"Form1-Check{n}").find_element("css selector", "input").is_selected() for n in (1, 2, 4)]
        seen += [by_id("Form8-Text2").get_property("value")[-5:], by_id("Form8").is_displayed()]
        assert seen == [True, False, True, "안전 ok", False], seen
        print("web-run: a whole diagnosis by the browser's own input, and page 1 again")
    finally:
        page.quit()
