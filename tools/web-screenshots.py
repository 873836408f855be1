#!/usr/bin/python3 -B
"""Takes the site's screenshots with each engine's own clicks and taps: page 1
answered, the check-error dialog over its page, and a result screen with typed
emoji and Hangul. In Chromium on a desktop and on a phone 390 CSS px wide
(web-*.png, phone-*.png), and that result screen on a phone in WebKit (447 px,
its narrowest window) and in Firefox (phone-form9-webkit.png and -firefox.png),
all in docs/screenshots. The engines are the browser tests' (web_engines.py).
Usage: tools/web-screenshots.py [SITE], SITE being build/web by default."""
import functools, http.server, os, sys, tempfile, threading
from pathlib import Path

root = Path(__file__).resolve().parent.parent
from web_engines import ENGINES, Chromium, until

site = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "build/web"
out = root / "docs/screenshots"
http.server.SimpleHTTPRequestHandler.log_message = lambda *args: None
server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(http.server.SimpleHTTPRequestHandler, directory=site))
threading.Thread(target=server.serve_forever, daemon=True).start()
Chromium.FLAGS.append("--hide-scrollbars")
os.environ["GDK_SCALE"] = "2"  # WebKit's window at twice the pixels, as the phones' are


def shots(engine, phone, names):  # names: the file of each screen taken
    with tempfile.TemporaryDirectory() as profile:
        page = ENGINES[engine](profile)
        shown = lambda form: until(lambda: page.js("return document.getElementById(arguments[0])?.checkVisibility()", form))

        def shot(form, name):  # on a phone from the top of the screen, once it is drawn
            page.js("document.getElementById(arguments[0]).scrollTop = 0; scrollTo(0, 0);"
                    "return new Promise(drawn => requestAnimationFrame(() => requestAnimationFrame(drawn)))", form)
            name in names and page.shot(out / names[name])

        try:
            page.size(390, 844, True) if phone else page.size(900, 700)
            page.get(f"http://127.0.0.1:{server.server_port}/index.html")
            shown("Form1")
            # Yes to items 2, 6 and 11 (type E), no to the others but the last,
            # left open: the dialog's cause.
            for item in range(1, 16):
                page.click(f"Form1-Check{2 * item - (item in (2, 6, 11))}")
            shot("Form1", "form1-answered")
            page.click("Form1-Command1")
            shown("Form3")
            shot("Form3", "form3")
            page.click("Form3-Command1")
            page.click("Form1-Check32")
            page.click("Form1-Command1")
            shown("Form2")
            for item in range(16):
                page.click(f"Form2-Check{2 * item + 2}")
            page.click("Form2-Command1")
            shown("Form9")
            page.click("Form9-Text5")
            page.js("document.execCommand('insertText', false, 'メモ 🚗💨 안전운전')")
            shot("Form9", "form9-typed")
        finally:
            page.quit()


for prefix, phone in (("web", False), ("phone", True)):
    shots("chromium", phone, {name: f"{prefix}-{name}.png" for name in ("form1-answered", "form3", "form9-typed")})
for engine in ("webkit", "firefox"):
    shots(engine, True, {"form9-typed": f"phone-form9-{engine}.png"})
print("web-screenshots: wrote", *sorted(p.name for p in out.glob("*-*.png") if p.name.startswith(("web-", "phone-"))))
