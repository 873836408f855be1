#!/usr/bin/python3
"""Prints the report's section: the site in headless Chromium against a floor page of page 1's texts in its faces."""
import functools, gzip, html, http.server, os, re, shutil, statistics, sys, tempfile, threading
from pathlib import Path
from selenium import webdriver

loads, phone_loads = int(os.environ.get("LOADS", 20)), int(os.environ.get("PHONE_LOADS", 10))
root = Path(shutil.copytree(sys.argv[1], Path(tempfile.mkdtemp()) / "site"))
WATCH = """<script>(function f() { var e = document.querySelector('%s'), faces = ['15.6pt "ＭＳ ゴシック"', '9pt "ＭＳ Ｐゴシック"'];
if (e && e.checkVisibility({visibilityProperty: true}) && faces.every(x => document.fonts.check(x))) requestAnimationFrame(() => requestAnimationFrame(
() => window.frame = performance.now())); else requestAnimationFrame(f); })();
(function r() { document.querySelector('[aria-disabled]') ? requestAnimationFrame(r) : window.ready = performance.now(); })();
window.cls = 0; new PerformanceObserver(l => l.getEntries().forEach(e => window.cls += e.value)).observe({type: 'layout-shift', buffered: true});
</script>"""  # the second frame once it shows (fixed, on a phone), faces in; ready: the program has taken page 1 over
(root / "index.html").write_text((root / "index.html").read_text() + WATCH % "#Form1")


PHONE = {"Emulation.setCPUThrottlingRate": {"rate": 4}, "Network.enable": {}, "Network.emulateNetworkConditions": {  # on the blank tab
    "offline": False, "latency": 150, "downloadThroughput": 1.6e6 / 8, "uploadThroughput": 750e3 / 8}, "Emulation.setDeviceMetricsOverride":
    {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True}, "Emulation.setTouchEmulationEnabled": {"enabled": True}}
SEEN = """return window.frame && window.ready ? new Promise(r => new PerformanceObserver(l => r([window.frame, l.getEntries().at(-1)
.startTime, performance.getEntriesByType('resource').map(r => r.name), window.ready, window.cls])).observe({type:
'largest-contentful-paint', buffered: true})) : [0]"""


class Handler(http.server.SimpleHTTPRequestHandler):  # caching and compression as the README asks of a server
    log_message = lambda *args: None

    def end_headers(self):
        self.send_header("Cache-Control", "max-age=31536000" if re.search(r"\.[0-9a-f]{10}\.", self.path) else "no-cache")
        super().end_headers()

    def do_GET(self):
        path = Path(self.translate_path(self.path)) / ("index.html" if self.path.endswith("/") else "")
        if path.suffix not in (".html", ".css", ".js", ".wasm", ".svg", ".webmanifest") or not path.is_file(): return super().do_GET()
        data = gzip.compress(path.read_bytes(), 6)
        self.send_response(200), self.send_header("Content-Type", self.guess_type(path)), self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", len(data)), self.end_headers(), self.wfile.write(data)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
threading.Thread(target=server.serve_forever, daemon=True).start()


def load(page, phone=False, script=SEEN, n=3):
    with tempfile.TemporaryDirectory() as profile:  # the first visit; at once again; later, in a browser started anew
        visits, options = [], webdriver.ChromeOptions()
        options.arguments.extend(f"--headless=new --no-sandbox --disable-gpu --no-first-run --window-size=1100,800 "
                                 f"--disable-background-networking --disable-component-update --user-data-dir={profile}".split())
        for visit in range(1 if phone else n):
            if visit != 1:
                browser = (visit and browser.quit()) or webdriver.Chrome(options=options)
                for command, args in PHONE.items() if phone else (): browser.execute_cdp_cmd(command, args)
            while page == "index.html" and visit == 1 and not browser.execute_script("return navigator.serviceWorker.controller"): pass
            browser.execute_script("sessionStorage.clear()")  # a visit of its own, as in a new tab: no run to take up
            browser.get(f"http://127.0.0.1:{server.server_port}/{page}")
            visits.append(next(r for r in iter(lambda: browser.execute_script(script), None) if r[0]))
        return browser.quit() or visits


# A tick on page 1 once the program is ready, and of it the keeping of the run in the tab: 200 of each.
TICK = """if (!window.ready) return [0]; const box = document.querySelector('#Form1-Check1 input'), tolvane = Module.tolvane;
let start = performance.now(); for (let i = 0; i < 200; ++i) box.click(); const tick = (performance.now() - start) / 200;
start = performance.now(); for (let i = 0; i < 200; ++i) box.checked = !box.checked, tolvane.keep();
return [[tick, (performance.now() - start) / 200]];"""
tick, keep = load("index.html", False, TICK, 1)[0][0]
texts = load("index.html", False, "return [window.frame && [...document.querySelectorAll("
             "'#Form1 .client > :not([hidden])')].map(e => e.value || e.textContent)]", 1)[0][0]
css = re.search(r'href="(tolvane\.\w+\.css)"', (root / "index.html").read_text())[1]
(root / "floor.html").write_text(f"""<!DOCTYPE html><meta charset="utf-8"><link rel="stylesheet" href="{css}">
<div id="floor" style="position: absolute; font: 700 15.6pt 'ＭＳ ゴシック'">{html.escape(texts[0])}</div>
<div style="position: absolute; top: 40px; white-space: pre; font: 9pt 'ＭＳ Ｐゴシック'">
{html.escape(chr(10).join(texts[1:]))}</div>""" + WATCH % "#floor")


PAGES, times = ("floor.html", "index.html"), {}
for i in range(2 * (loads + phone_loads)):  # which goes first turns, so that drift falls on both
    times.setdefault(key := (PAGES[(i + i // 2) % 2], i >= 2 * loads), []).append(load(*key))
    print(f"\rbench: load {i // 2 + 1} of {loads + phone_loads} of each, the last {phone_loads} as a phone", end="", file=sys.stderr)
size = sum(len(gzip.compress((root / u.split("/", 3)[3]).read_bytes(), 9))
           for u in times["index.html", False][-1][0][2] + ["/ / /index.html"])  # what the first visit fetched
median, met = lambda p, phone, visit, i=0: statistics.median(t[visit][i] for t in times[p, phone]), lambda ok: "met" if ok else "missed"
app, app2, app3, papp, lcp, ready, pready, cls = (median("index.html", *a) for a in (
    (False, 0), (False, 1), (False, 2), (True, 0), (True, 0, 1), (False, 0, 3), (True, 0, 3), (True, 0, 4)))
low, low2, low3, plow = (median("floor.html", *a) for a in ((False, 0), (False, 1), (False, 2), (True, 0)))
print(f"""\n## In the browser: page 1 complete in the page

The site from a local server with the README's caching headers and compression in headless Chromium, against a floor page
of page 1's texts in the same two web fonts: {loads} loads of each in turn on a fresh profile, again at once once the site
keeps its files, and later in a browser started anew (nothing in memory, the site's worker not running). The **first complete
frame** is the second frame after page 1 shows with both faces in, from the navigation; **ready** is when the program has taken
page 1 over, and a tap on a box counts. As a phone: {phone_loads} first visits of each at 390 × 844 CSS px, 3 device pixels to one
and touch, the CPU slowed 4×, a network of 150 ms round trip, 1.6 Mbit/s down and 750 kbit/s up.

| Medians | site | floor | ratio | goal | |
|---|---:|---:|---:|---:|---|
| **first complete frame** | **{app:.1f} ms** | {low:.1f} ms | **{app / low:.3f}** | ≤ 1.05 | {met(app / low <= 1.05)} |
| the same, second visit at once | {app2:.1f} ms | {low2:.1f} ms | {app2 / low2:.3f} | ≤ 1.2 | {met(app2 / low2 <= 1.2)} |
| the same, a later visit | {app3:.1f} ms | {low3:.1f} ms | {app3 / low3:.3f} | ≤ 1.2 | {met(app3 / low3 <= 1.2)} |
| ready | {ready:.1f} ms | {low:.1f} ms | {ready / low:.3f} | | |
| **as a phone** | **{papp:.0f} ms** | {plow:.0f} ms | **{papp / plow:.3f}** | ≤ 1.05 | {met(papp / plow <= 1.05)} |
| ready, as a phone | {pready:.0f} ms | {plow:.0f} ms | {pready / plow:.3f} | | |
| its largest contentful paint | {lcp:.0f} ms | | | ≤ 1800 ms | {met(lcp <= 1800)} |
| its layout shift (CLS) | {cls:.3f} | | | 0 | {met(cls == 0)} |
| a tick on page 1, kept in the tab (of it, keeping) | {tick:.2f} ms ({keep:.2f} ms) | | | < 16 ms | {met(tick < 16)} |
| all page 1 fetches, gzip-compressed | {size / 1000:.0f} KB | | | ≤ 400 KB | {met(size <= 400e3)} |""")
shutil.rmtree(root.parent)
