#!/usr/bin/python3
"""Takes the site's screenshots in headless Chromium with the browser's own
clicks and keys: page 1 answered, the check-error dialog over its page, and a
result screen with typed emoji and Hangul; on a desktop and on a phone 390 CSS
px wide. Writes docs/screenshots/web-*.png and phone-*.png.
Usage: tools/web-screenshots.py [SITE], SITE being build/web by default."""
import functools, http.server, sys, tempfile, threading
from pathlib import Path
from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.wait import WebDriverWait

root = Path(__file__).resolve().parent.parent
site = Path(sys.argv[1]) if len(sys.argv) > 1 else root / "build/web"
out = root / "docs/screenshots"
http.server.SimpleHTTPRequestHandler.log_message = lambda *args: None
server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(http.server.SimpleHTTPRequestHandler, directory=site))
threading.Thread(target=server.serve_forever, daemon=True).start()

def shots(prefix, phone):
    with tempfile.TemporaryDirectory() as profile:
        options = webdriver.ChromeOptions()
        for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=900,700",
                     "--hide-scrollbars", f"--user-data-dir={profile}"]:
            options.add_argument(flag)
        page = webdriver.Chrome(options=options)
        if phone:  # in the hand: 390 CSS px at twice the pixels, touch
            page.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                 {"width": 390, "height": 844, "deviceScaleFactor": 2, "mobile": True})
            page.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
        by_id = lambda id: page.find_element(By.ID, id)
        shown = lambda form: WebDriverWait(page, 10).until(lambda _: by_id(form).is_displayed())
        shot = lambda name: page.save_screenshot(str(out / f"{prefix}-{name}.png"))
        try:
            page.get(f"http://127.0.0.1:{server.server_port}/index.html")
            shown("Form1")
            # Yes to items 2, 6 and 11 (type E), no to the others but the last,
            # left open: the dialog's cause.
            for item in range(1, 16):
                by_id(f"Form1-Check{2 * item - (item in (2, 6, 11))}").click()
            if phone:  # the first rows answered in view
                page.execute_script("arguments[0].scrollTop = 0", by_id("Form1"))
            shot("form1-answered")
            by_id("Form1-Command1").click()
            shown("Form3")
            shot("form3")
            by_id("Form3-Command1").click()
            by_id("Form1-Check32").click()
            by_id("Form1-Command1").click()
            shown("Form2")
            for item in range(16):
                by_id(f"Form2-Check{2 * item + 2}").click()
            by_id("Form2-Command1").click()
            shown("Form9")
            by_id("Form9-Text5").click()
            page.execute_cdp_cmd("Input.insertText", {"text": "メモ 🚗💨 안전운전"})
            if phone:
                page.execute_script("arguments[0].scrollTop = 0", by_id("Form9"))
            shot("form9-typed")
        finally:
            page.quit()


shots("web", False)
shots("phone", True)
print("web-screenshots: wrote", *sorted(p.name for p in out.glob("*-*.png") if p.name.startswith(("web-", "phone-"))))
