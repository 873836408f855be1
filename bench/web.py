#!/usr/bin/python3
"""The site against a floor page showing page 1's texts (read from the site's page 1) in two
elements in the same two web fonts, in headless Chromium; prints the report's section."""
import functools, gzip, html, http.server, os, shutil, statistics, sys, tempfile, threading
from pathlib import Path
from selenium import webdriver

loads, root = int(os.environ.get("LOADS", 20)), Path(tempfile.mkdtemp()) / "site"
shutil.copytree(sys.argv[1], root)
# The second frame drawn once the element is shown and both faces are in.
WATCH = """<script>(function f() { var e = document.querySelector('%s');
if (e && e.offsetParent && ['15.6pt "ＭＳ ゴシック"', '9pt "ＭＳ Ｐゴシック"'].every(x => document.fonts.check(x)))
requestAnimationFrame(() => requestAnimationFrame(() => window.frame = performance.now()));
else requestAnimationFrame(f); })();</script>"""
(root / "index.html").write_text((root / "index.html").read_text() + WATCH % "#Form1")
http.server.SimpleHTTPRequestHandler.log_message = lambda *args: None
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(http.server.SimpleHTTPRequestHandler, directory=root))
threading.Thread(target=server.serve_forever, daemon=True).start()


def load(page, script="return [window.frame, performance.getEntriesByType('resource').map(r => r.name)]"):
    with tempfile.TemporaryDirectory() as profile:
        options = webdriver.ChromeOptions()
        for flag in f"--headless=new --no-sandbox --disable-gpu --no-first-run --window-size=1100,800 " \
                    f"--disable-background-networking --disable-component-update --user-data-dir={profile}".split():
            options.add_argument(flag)
        browser = webdriver.Chrome(options=options)
        browser.get(f"http://127.0.0.1:{server.server_port}/{page}")
        while not (result := browser.execute_script(script))[0]:
            pass
        return browser.quit() or result


texts = load("index.html", "return [window.frame && [...document.querySelectorAll("
             "'#Form1 .client > :not([hidden])')].map(e => e.value || e.textContent)]")[0]
(root / "floor.html").write_text(f"""<!DOCTYPE html><meta charset="utf-8"><link rel="stylesheet" href="tolvane.css">
<div id="floor" style="position: absolute; font: 700 15.6pt 'ＭＳ ゴシック'">{html.escape(texts[0])}</div>
<div style="position: absolute; top: 40px; white-space: pre; font: 9pt 'ＭＳ Ｐゴシック'">
{html.escape(chr(10).join(texts[1:]))}</div>""" + WATCH % "#floor")
times = {"index.html": [], "floor.html": []}
for i in range(loads):  # which goes first alternates, so that drift falls on both
    for page in ["floor.html", "index.html"][:: 1 if i % 2 else -1]:
        times[page].append(load(page)[0])
    print(f"\rbench: load {i + 1} of {loads} of each", end="", file=sys.stderr)
fetched = load("index.html")[1]
size = sum(len(gzip.compress((root / u.split("/", 3)[3]).read_bytes(), 9)) for u in fetched + ["/ / /index.html"])
app, low = statistics.median(times["index.html"]), statistics.median(times["floor.html"])
met = lambda ok: "met" if ok else "missed"
print(f"""\n## In the browser: page 1 complete in the page

The site from a local server in headless Chromium against a floor page showing page 1's texts in two
elements in the same two web fonts, {loads} loads of each in turn, each on a fresh profile. The **first
complete frame** is the second frame after page 1 shows with both faces in, from the navigation.

| Medians | site | floor | ratio | goal | |
|---|---:|---:|---:|---:|---|
| **first complete frame** | **{app:.1f} ms** | {low:.1f} ms | **{app / low:.3f}** | ≤ 1.2 | {met(app / low <= 1.2)} |
| all page 1 fetches, gzip-compressed | {size / 1000:.0f} KB | | | ≤ 400 KB | {met(size <= 400e3)} |""")
shutil.rmtree(root.parent)
