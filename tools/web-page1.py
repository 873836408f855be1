#!/usr/bin/python3 -B
"""Draws page 1 into the site's page at build time, so that a visitor sees it before the program has arrived:
web-page1.py STAGE PAGE. STAGE holds the site's files by their own names; PAGE is the page without page 1.

The program itself draws it: the site runs in headless Chromium at a desktop's size, and once page 1 is up, its
window is kept as the browser holds it. The places and faces the program set on each element become rules of a
style sheet of their own (STAGE/page1.css, where a strict policy allows no style attribute), its buttons are marked
not yet available, and the window goes at the top of the page's body (STAGE/index.html). The program takes over
those same elements when it starts (page.js, `adopt`), and only if they are what it would draw itself."""
import functools, http.server, re, sys, tempfile, threading
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from web_engines import Chromium, until

stage, page = Path(sys.argv[1]), Path(sys.argv[2]).read_text()


class Handler(http.server.SimpleHTTPRequestHandler):
    log_message = lambda *args: None
    extensions_map = {".wasm": "application/wasm", ".js": "text/javascript"}

    def do_GET(self):
        if self.path != "/":
            return super().do_GET()
        self.send_response(200), self.send_header("Content-Type", "text/html; charset=utf-8"), self.end_headers()
        self.wfile.write(page.encode())


# Each styled element by its id, or by its place under the nearest one with an id, and the colours the program gives
# the page; the window's own place is the program's to choose, and the style sheet centres it until then (--w and
# --h, its size).
KEEP = """const form = document.getElementById('Form1'), copy = form.cloneNode(true), rules = [];
const keep = (element, selector) => {
  const style = element.getAttribute('style');
  if (style && element !== copy) rules.push(`${selector} { ${style} }`);
  element.removeAttribute('style');
  [...element.children].forEach((child, i) => keep(child, child.id ? '#' + child.id : `${selector} > :nth-child(${i + 1})`));
};
keep(copy, '#Form1');
// What a text box holds is its value, which the markup writes as its text.
copy.querySelectorAll('textarea').forEach((box, i) => { box.textContent = form.querySelectorAll('textarea')[i].value; });
copy.classList.remove('panel');
copy.setAttribute('data-served', '');
for (const button of copy.querySelectorAll('button')) button.setAttribute('aria-disabled', 'true');
rules.unshift(`:root { ${document.documentElement.getAttribute('style')} }`,
              `#Form1 { --w: ${form.offsetWidth}px; --h: ${form.offsetHeight}px; }`);
return [copy.outerHTML, rules.join("\\n") + "\\n", form.dataset.width];"""

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=stage))
threading.Thread(target=server.serve_forever, daemon=True).start()
with tempfile.TemporaryDirectory() as profile:
    browser = Chromium(profile)
    try:
        browser.size(1000, 800)
        browser.get(f"http://127.0.0.1:{server.server_port}/")
        until(lambda: browser.js("return document.getElementById('Form1')?.checkVisibility() &&"
                                 "document.fonts.status === 'loaded'"), what="page 1", wait=30)
        markup, rules, width = browser.js(KEEP)
    finally:
        browser.quit()
(stage / "page1.css").write_text(rules)
# The column the phone gets is decided before page 1 is drawn, from its width (start.js).
page = page.replace('<html lang="ja">', f'<html lang="ja" data-width="{width}">', 1)
page = re.sub(r'(<link rel="stylesheet" href="tolvane.css">)', r'\1\n<link rel="stylesheet" href="page1.css">', page)
(stage / "index.html").write_text(page.replace("<body>\n", f"<body>\n{markup}\n", 1))
