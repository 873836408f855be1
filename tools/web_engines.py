"""The engines the site is tested and shown in (tests/program/web-run.py, tools/web-screenshots.py), behind the same
few calls: Chromium and WebKit (in an X display of its own) by their WebDriver, Gecko by the WebDriver BiDi it speaks
itself. Clicks and keys are the engine's own, as a user's are; in Chromium's phone emulation a click is a tap."""
import asyncio, base64, glob, json, os, re, subprocess, time
from pathlib import Path

END, TAB, ENTER = "\ue010", "\ue004", "\ue007"  # WebDriver's keys


def until(test, wait=10, what="the page"):  # a fault fails a step in seconds
    end = time.monotonic() + wait
    while not (value := test()):
        assert time.monotonic() < end, f"{what} did not come within {wait} s"
        time.sleep(0.05)
    return value


class Engine:
    touch = False

    def click(self, id):  # in the middle, brought into view as a finger scrolls, once the scroll is drawn
        x, y = self.js("const e = document.getElementById(arguments[0]), box = () => e.getBoundingClientRect(), y = box().y;"
                       "e.scrollIntoView({block: 'center'}); return new Promise(drawn => box().y === y ? drawn() :"
                       "requestAnimationFrame(() => requestAnimationFrame(drawn))).then(() => [box().x + box().width / 2,"
                       "box().y + box().height / 2].map(Math.round))", id)
        kind = "touch" if self.touch else "mouse"
        self.actions([{"type": "pointer", "id": kind, "parameters": {"pointerType": kind}, "actions": [
            {"type": "pointerMove", "x": x, "y": y}, {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])

    def keys(self, *keys):
        self.actions([{"type": "key", "id": "keys", "actions": [
            {"type": kind, "value": c} for key in keys for c in key for kind in ("keyDown", "keyUp")]}])


class Selenium(Engine):  # Chromium and WebKit
    js = lambda self, body, *args: self.page.execute_script(body, *args)
    actions = lambda self, sources: self.page.execute("actions", {"actions": sources})
    get = lambda self, url, wait=True: self.page.get(url) if wait else self.js("location.href = arguments[0]", url)
    shot = lambda self, path: self.page.save_screenshot(str(path))
    quit = lambda self: self.page.quit()


class Chromium(Selenium):
    FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-sync",
             "--disable-background-networking", "--disable-component-update"]

    def __init__(self, profile):
        from selenium.webdriver import Chrome, ChromeOptions
        options = ChromeOptions()
        [options.add_argument(flag) for flag in self.FLAGS + [f"--user-data-dir={profile}"]]
        self.page = Chrome(options=options)  # with the chromedriver on the PATH
        self.cdp = self.page.execute_cdp_cmd

    def size(self, width, height, phone=False):  # a phone: touch, and what the viewport meta says
        self.cdp("Emulation.setDeviceMetricsOverride",
                 {"width": width, "height": height, "deviceScaleFactor": 1 + phone, "mobile": phone})
        self.cdp("Emulation.setTouchEmulationEnabled", {"enabled": phone, "maxTouchPoints": 5})
        self.touch = phone


class WebKit(Selenium):
    def __init__(self, profile):
        from selenium.webdriver import WebKitGTK, WebKitGTKOptions
        # A display of its own, found free by the X server, small so that its middle, where the pointer rests,
        # is in every window: with no window manager the window under the pointer has the focus.
        read, write = os.pipe()
        self.x = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "800x600x24", "-nolisten", "tcp"],
                                  pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        options = WebKitGTKOptions()
        options.binary_location = glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser")[0]
        options.add_argument("--automation")
        self.page = WebKitGTK(options=options)

    size = lambda self, width, height, phone=False: self.page.set_window_size(width, height)  # never under 447 px wide

    def quit(self):
        try:
            self.page.quit()
        finally:
            self.x.kill()


class Gecko(Engine):
    PREFS = {"browser.startup.page": 0, "browser.shell.checkDefaultBrowser": False, "app.update.disabledForTesting": True,
             "datareporting.policy.dataSubmissionEnabled": False, "browser.startup.homepage_override.mstone": "ignore"}

    def __init__(self, profile):
        import websockets
        Path(profile, "user.js").write_text("".join(f'user_pref("{k}", {json.dumps(v)});\n' for k, v in self.PREFS.items()))
        log = Path(profile, "log")
        self.process = subprocess.Popen(
            ["firefox-esr", "--headless", "--no-remote", "--remote-debugging-port=0", "--profile", profile],
            stdout=subprocess.DEVNULL, stderr=log.open("w"), start_new_session=True)
        address = until(lambda: re.search(r"BiDi listening on (ws://\S+)", log.read_text()), what="Firefox")[1]
        self.loop, self.id = asyncio.new_event_loop(), 0
        asyncio.set_event_loop(self.loop)
        self.socket = self.wait(websockets.connect(address + "/session", max_size=None, ping_interval=None))
        self.bidi("session.new", capabilities={})
        # A tab of the session's own: the first one never has the window's focus, and without it no focus events.
        self.context = self.bidi("browsingContext.create", type="tab")["context"]

    wait = lambda self, step: self.loop.run_until_complete(asyncio.wait_for(step, 60))

    def bidi(self, method, **params):  # one command at a time; events are let go
        self.id += 1
        self.wait(self.socket.send(json.dumps({"id": self.id, "method": method, "params": params})))
        while (answer := json.loads(self.wait(self.socket.recv()))).get("id") != self.id:
            pass
        assert answer["type"] == "success", f"{method}: {answer.get('error')}: {answer.get('message')}"
        return answer["result"]

    def js(self, body, *args):  # arguments and result through JSON
        result = self.bidi("script.callFunction", target={"context": self.context}, awaitPromise=True,
                           arguments=[{"type": "string", "value": json.dumps(args)}], functionDeclaration=
                           f"async function (a) {{ return JSON.stringify(await (function () {{ {body}\n}}).apply(null, JSON.parse(a))) }}")
        assert result["type"] == "success", f"in the page: {result['exceptionDetails']['text']}"
        return json.loads(result["result"].get("value", "null"))

    actions = lambda self, sources: self.bidi("input.performActions", context=self.context, actions=sources)
    get = lambda self, url, wait=True: self.bidi("browsingContext.navigate", context=self.context, url=url,
                                                 wait="complete" if wait else "none")
    size = lambda self, width, height, phone=False: self.bidi("browsingContext.setViewport", context=self.context,
                                                             viewport={"width": width, "height": height}, devicePixelRatio=1 + phone)
    shot = lambda self, path: path.write_bytes(base64.b64decode(
        self.bidi("browsingContext.captureScreenshot", context=self.context)["data"]))
    quit = lambda self: (os.killpg(self.process.pid, 9), self.process.wait())


ENGINES = {"chromium": Chromium, "webkit": WebKit, "firefox": Gecko}
