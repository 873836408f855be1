#!/usr/bin/python3
"""Prints the report's section: the site in headless Chromium against a floor page of page 1's texts in its faces."""
import functools, gzip, html, http.server, os, re, shutil, statistics, sys, tempfile, threading
from pathlib import Path
from selenium import webdriver

loads, phone_loads = int(os.environ.get("LOADS", 20)), int(os.environ.get("PHONE_LOADS", 10))
root = Path(shutil.copytree(sys.argv[1], Path(tempfile.mkdtemp()) / "site"))
WATCH = """<script>(function f() { var e = document.querySelector('%s'), faces = ['15.6pt "ＭＳ ゴシック"', '9pt "ＭＳ Ｐゴシック"'];
if (e && e.checkVisibility() && faces.every(x => document.fonts.check(x))) requestAnimationFrame(() => requestAnimationFrame(
() => window.frame = performance.now())); else requestAnimationFrame(f); })();</script>"""  # the second frame once it shows (fixed, on a phone), faces in
(root / "index.html").write_text((root / "index.html").read_text() + WATCH % "#Form1")


PHONE = {"Emulation.setCPUThrottlingRate": {"rate": 4}, "Network.enable": {}, "Network.emulateNetworkConditions": {  # on the blank tab
    "offline": False, "latency": 150, "downloadThroughput": 1.6e6 / 8, "uploadThroughput": 750e3 / 8}, "Emulation.setDeviceMetricsOverride":
    {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True}, "Emulation.setTouchEmulationEnabled": {"enabled": True}}
SEEN = """return window.frame ? new Promise(r => new PerformanceObserver(l => r([window.frame, l.getEntries().at(-1).startTime,
performance.getEntriesByType('resource').map(r => r.name)])).observe({type: 'largest-contentful-paint', buffered: true})) : [0]"""


class Handler(http.server.SimpleHTTPRequestHandler):  # caching as the README asks of a server
    log_message = lambda *args: None

    def end_headers(self):
        self.send_header("Cache-Control", "max-age=31536000" if re.search(r"\.[0-9a-f]{10}\.", self.path) else "no-cache")
        super().end_headers()


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
threading.Thread(target=server.serve_forever, daemon=True).start()


def load(page, phone=False, script=SEEN):
    with tempfile.TemporaryDirectory() as profile:
        options = webdriver.ChromeOptions()
        options.arguments.extend(f"--headless=new --no-sandbox --disable-gpu --no-first-run --window-size=1100,800 "
                                 f"--disable-background-networking --disable-component-update --user-data-dir={profile}".split())
        browser, visits = webdriver.Chrome(options=options), []  # the second once the site keeps its files
        for command, args in PHONE.items() if phone else (): browser.execute_cdp_cmd(command, args)
        for kept in ("true", "navigator.serviceWorker.controller" if page == "index.html" else "true")[:2 - phone]:
            while not browser.execute_script(f"return {kept}"): pass
            browser.get(f"http://127.0.0.1:{server.server_port}/{page}")
            while not (result := browser.execute_script(script))[0]: pass
            visits.append(result)
        return browser.quit() or visits


texts = load("index.html", False, "return [window.frame && [...document.querySelectorAll("
             "'#Form1 .client > :not([hidden])')].map(e => e.value || e.textContent)]")[0][0]
css = re.search(r'href="(tolvane\.\w+\.css)"', (root / "index.html").read_text())[1]
(root / "floor.html").write_text(f"""<!DOCTYPE html><meta charset="utf-8"><link rel="stylesheet" href="{css}">
<div id="floor" style="position: absolute; font: 700 15.6pt 'ＭＳ ゴシック'">{html.escape(texts[0])}</div>
<div style="position: absolute; top: 40px; white-space: pre; font: 9pt 'ＭＳ Ｐゴシック'">
{html.escape(chr(10).join(texts[1:]))}</div>""" + WATCH % "#floor")


times = {(p, phone): [] for p in ("index.html", "floor.html") for phone in (False, True)}
for i in range(2 * (loads + phone_loads)):  # which goes first alternates, so that drift falls on both
    times[key := (["floor.html", "index.html"][(i + i // 2) % 2], i >= 2 * loads)].append(load(*key))
    print(f"\rbench: load {i // 2 + 1} of {loads + phone_loads} of each, the last {phone_loads} as a phone", end="", file=sys.stderr)
size = sum(len(gzip.compress((root / u.split("/", 3)[3]).read_bytes(), 9))
           for u in times["index.html", False][-1][0][2] + ["/ / /index.html"])  # what the first visit fetched
median = lambda p, phone, visit, i=0: statistics.median(t[visit][i] for t in times[p, phone])
app, app2, papp, lcp = (median("index.html", *a) for a in ((False, 0), (False, 1), (True, 0), (True, 0, 1)))
low, low2, plow = (median("floor.html", *a) for a in ((False, 0), (False, 1), (True, 0)))
print(f"""\n## In the browser: page 1 complete in the page

The site from a local server with the README's caching headers in headless Chromium, against a floor page of page 1's
texts in the same two web fonts: {loads} loads of each in turn on a fresh profile, and again once the site keeps its
files. The **first complete frame** is the second frame after page 1 shows with both faces in, from the navigation. As
a phone: {phone_loads} first visits of each at 390 × 844 CSS px, 3 device pixels to one and touch, the CPU slowed 4×, a
network of 150 ms round trip, 1.6 Mbit/s down and 750 kbit/s up.

| Medians | site | floor | ratio | goal | |
|---|---:|---:|---:|---:|---|
| **first complete frame** | **{app:.1f} ms** | {low:.1f} ms | **{app / low:.3f}** | ≤ 1.2 | {"met" if app / low <= 1.2 else "missed"} |
| the same, second visit | {app2:.1f} ms | {low2:.1f} ms | {app2 / low2:.3f} | | |
| **as a phone** | **{papp:.0f} ms** | {plow:.0f} ms | **{papp / plow:.3f}** | ≤ 1.2 | {"met" if papp / plow <= 1.2 else "missed"} |
| its largest contentful paint | {lcp:.0f} ms | | | < 2500 ms | {"met" if lcp < 2500 else "missed"} |
| all page 1 fetches, gzip-compressed | {size / 1000:.0f} KB | | | ≤ 400 KB | {"met" if size <= 400e3 else "missed"} |""")
shutil.rmtree(root.parent)
