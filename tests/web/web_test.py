"""The page in headless Chromium, judged by the command line's worlds and files.

    python3 tests/web/web_test.py SITE_DIR LORVEX_CLI
"""
import base64
import functools
import http.server
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse
import urllib.request

SITE, CLI = (os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])) if len(sys.argv) > 2 else (None, None)
CHROMIUM_ARGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage"]
# How long the page may take to answer a step: generous, so that a slow machine only waits.
WAIT = 120.0


def until(check, seconds, what):
    """Asks `check` every 0.1 s until it answers true; a check that raises counts as false."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            if check():
                return
        except (OSError, AssertionError):
            pass
        time.sleep(0.1)
    raise AssertionError(f"never reached: {what}")


class Browser:
    """A small WebDriver client over chromedriver: one call helper for every command."""

    def __init__(self, profile):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            self.port, self.session = s.getsockname()[1], ""
        self.driver = subprocess.Popen(["chromedriver", f"--port={self.port}"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        until(lambda: self.call("GET", "/status") is not None, 30, "chromedriver answers")
        caps = {"browserName": "chrome", "goog:chromeOptions": {
            "binary": "/usr/bin/chromium", "args": CHROMIUM_ARGS + [f"--user-data-dir={profile}"]}}
        self.session = "/session/" + self.call("POST", "/session", {"capabilities": {"alwaysMatch": caps}})["sessionId"]
        self.call("POST", "/timeouts", {"script": int(WAIT * 1000)})

    def call(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(f"http://127.0.0.1:{self.port}{self.session}{path}", data=data,
                                         method=method, headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=WAIT + 30) as answer:
                return json.loads(answer.read())["value"]
        except urllib.error.HTTPError as error:
            raise AssertionError(f"WebDriver {path}: {error.read()[:500]!r}") from None

    def run(self, script, *args):
        return self.call("POST", "/execute/sync", {"script": script, "args": list(args)})

    def press(self, css, text=None):
        """Clicks an element, or types into it as a person does."""
        el = "/element/" + next(iter(self.call("POST", "/element", {"using": "css selector", "value": css}).values()))
        self.call("POST", el + ("/click" if text is None else "/value"), {} if text is None else {"text": text})

    def close(self):
        try:
            self.call("DELETE", "")
        finally:
            self.driver.terminate()
            self.driver.wait()


@unittest.skipUnless(SITE and CLI, "needs the page's folder and the lorvex tool")
class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="lorvex-web-")
        handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=SITE)
        http.server.SimpleHTTPRequestHandler.log_message = lambda *args: None  # no line a request
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.base = f"http://127.0.0.1:{cls.server.server_address[1]}/index.html"
        cls.browser = Browser(os.path.join(cls.tmp, "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.shutdown()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def open(self, fragment):
        """Opens the page at a link and waits for its first world."""
        self.browser.call("POST", "/url", {"url": "about:blank"})
        self.browser.call("POST", "/url", {"url": self.base + fragment})
        # Downloads are caught at the link the page clicks, as bytes.
        self.wait("return document.querySelectorAll('#tabs button').length > 0")
        self.browser.run("""
            window.caught = [];
            HTMLAnchorElement.prototype.click = function () {
              const name = this.download;
              fetch(this.href).then(r => r.arrayBuffer()).then(b => {
                let s = ''; const u = new Uint8Array(b);
                for (let i = 0; i < u.length; i += 0x8000) s += String.fromCharCode(...u.subarray(i, i + 0x8000));
                window.caught.push([name, btoa(s)]);
              });
            };""")

    def wait(self, condition, *args):
        until(lambda: self.browser.run(condition, *args), WAIT, condition)

    def wait_built(self, builds=1, count="builds"):
        """Waits for the page's n-th world (or step of progress), answering the window's questions Yes."""
        self.wait(f"""const b = document.getElementById('build-anyway');
                     if (document.body.dataset.state === 'refused' && b) b.click();
                     return Number(document.body.dataset.{count} || 0) >= arguments[0]""", builds)

    def get(self, expression):
        return self.browser.run("return " + expression)

    def element(self, name, what="value"):
        return self.get(f"document.getElementById('{name}').{what}")

    def field(self, key):
        return self.get(f"document.querySelector('[data-field=\"{key}\"]').value")

    def type_into(self, key, text, tab=None):
        if tab:
            self.browser.press(f"#tabs button[data-tab='{tab}']")
        self.browser.press(f"[data-field='{key}']", "\ue009a\ue000" + text + "\ue004")

    def downloads(self, buttons):
        """Presses each button; answers {file name: bytes}."""
        self.browser.run("window.caught = []")
        expected = 0
        for name in buttons:
            self.browser.press(f"#{name}")
            expected += 2 if name == "download-tmx" else 1
            self.wait("return window.caught.length >= arguments[0]", expected)
        return {name: base64.b64decode(data) for name, data in self.get("window.caught")}

    def cli(self, *args, name="cli"):
        """Runs the command line in a folder of its own; answers {file name: bytes}."""
        out = os.path.join(self.tmp, name)
        os.makedirs(out, exist_ok=True)
        subprocess.run([CLI, *args], check=True, cwd=out, stdout=subprocess.DEVNULL)
        return {f: open(os.path.join(out, f), "rb").read() for f in os.listdir(out)}

    def cli_build(self, w, h, wrap, seed, lines=(), *more, name="cli"):
        args = ["build", "--width", str(w), "--height", str(h), "--seed", str(seed), "--yes", "--quiet",
                "--text", "world.txt", "--png", "world.png", "--json", "world.json", "--tmx", "world.tmx"]
        args += ["--freeciv", "world.sav"] * (w >= 16 and h >= 16) + ["--wrap"] * wrap + list(more)
        return self.cli(*args, *(a for line in lines for a in ("--set", line)), name=name)

    def test_links_open_the_worlds_of_the_command_line(self):
        cases = [  # (w, h, wrap, seed, changed fields, every download)
            (200, 150, True, "12345", [], True),
            (64, 48, False, "18446744073709551615",
             [("txtLandMass(0)", "2"), ("chkLandEqual(1)", "1"), ("txtTerrain(2)", "20"),
              ("cboPlacement(0)", "2"), ("chkAlgorithm(1)", "0")], True),
            (90, 33, True, "7", [("txtCities(0)", "12"), ("cboPlacement(0)", "1"), ("chkShape(3)", "0"),
                                 ("txtBlobv3(0)", "9")], False),
            (10, 6, False, "0", [("txtLandMass(1)", "1")], False),
        ]
        for w, h, wrap, seed, fields, every in cases:
            with self.subTest(w=w, h=h, seed=seed):
                self.open(f"#w={w}&h={h}&wrap={int(wrap)}&seed={seed}" + "".join(
                    f"&{urllib.parse.quote(k)}={urllib.parse.quote(v)}" for k, v in fields))
                self.wait_built()
                cli = self.cli_build(w, h, wrap, seed, [f"{k} = {v}" for k, v in fields], name=f"cli-{seed}")
                self.assertEqual(self.element("world-text", "textContent"), cli["world.txt"].decode())
                # The link the page offers holds the same world: its size, seed and fields
                # (the opening ones, and those their checks changed) given to the command line.
                pairs = [p.split("=", 1) for p in self.element("link", "getAttribute('href')")[1:].split("&")]
                self.assertEqual(pairs[:4], [["w", str(w)], ["h", str(h)], ["wrap", str(int(wrap))], ["seed", seed]])
                again = self.cli_build(w, h, wrap, seed, [f"{urllib.parse.unquote(k)} = {urllib.parse.unquote(v)}"
                                                          for k, v in pairs[4:]], name=f"cli-link-{seed}")
                self.assertEqual(again["world.txt"], cli["world.txt"])
                if every:
                    got = self.downloads(f"download-{f}" for f in ["text", "png", "json", "tmx", "freeciv"])
                    got["world.json"], cli["world.json"] = json.loads(got["world.json"]), json.loads(cli["world.json"])
                    self.assertEqual(got, cli)

    def test_settings_files_and_typed_fields_are_taken_as_the_window_takes_them(self):
        lines = ["txtLandMass(0) = 4", "chkLandPlace(2) = 1", "txtCities(3) = 150", "cboPlace1Param2(0) = 1"]
        written = self.cli("settings", "--save", "w.kst", *(a for line in lines for a in ("--set", line)), name="kst")
        # Save Settings of a page opened with the same fields writes the same file.
        self.open("#w=40&h=30&wrap=0&seed=1&" + "&".join(
            urllib.parse.quote(line.split(" = ")[0]) + "=" + line.split(" = ")[1] for line in lines))
        self.assertEqual(list(self.downloads(["save-settings"]).values()), [written["w.kst"]])
        # Load Settings into a page at its defaults takes the file's fields.
        self.open("#w=40&h=30&wrap=0&seed=1")
        self.browser.run("document.getElementById('settings-file').hidden = false")
        self.browser.press("#settings-file", os.path.join(self.tmp, "kst", "w.kst"))
        self.wait("return document.querySelector('[data-field=\"txtLandMass(0)\"]').value === '4'")
        link = self.element("link", "getAttribute('href')")
        for line in lines:
            self.assertIn("&" + line.replace(" = ", "="), link)
        self.wait_built()
        cases = [  # (field, typed, held): the window's validators, whose ranges the catalogue test judges
            ("txtAlgorithm(1)", "0", "1"), ("txtBlobv2(0)", "81", "80"), ("txtBlobv3(1)", "3", "15"),
            ("txtAlgorithm(0)", "12abc", "12"),  # the box's length cuts "12abc" to "12a"
        ]
        for key, typed, held in cases:
            with self.subTest(key=key, typed=typed):
                self.type_into(key, typed, tab=5)
                self.assertEqual(self.field(key), held)
        # A Lo raised above its Hi drags the Hi with it; a Hi lowered below its Lo snaps back.
        self.type_into("txtTerrain(0)", "12", tab=2)
        self.assertEqual((self.field("txtTerrain(0)"), self.field("txtTerrain(1)")), ("12", "12"))
        self.type_into("txtTerrain(3)", "3")
        self.assertEqual(self.field("txtTerrain(3)"), "5")

    def test_recommend_then_build_equals_the_command_line(self):
        self.open("#w=120&h=80&wrap=1&seed=99")
        self.wait_built()
        self.browser.press("#recommend")
        self.wait_built(2)  # a small map is rebuilt as its fields change
        # Recommend drew from the window's generator: the world's key names its draws.
        key = self.element("seed")
        self.assertRegex(key, r"^99-[1-9][0-9]*$")
        self.assertIn(f"seed={key}&", self.element("link", "getAttribute('href')"))
        self.cli("recommend", "--width", "120", "--height", "80", "--seed", "99", "--save", "r.kst", name="rec")
        cli = self.cli_build(120, 80, True, key, (), "--settings", os.path.join(self.tmp, "rec", "r.kst"), name="rec")
        self.assertEqual(self.element("world-text", "textContent"), cli["world.txt"].decode())

    def test_stop_ends_a_large_build_and_the_page_answers_meanwhile(self):
        # Large masses of 9999 squares by the thousand, sea borders of 99: many seconds to build.
        self.open("#w=4096&h=4096&wrap=0&seed=5&txtLandMass(0)=999&txtLandMass(1)=999"
                  "&txtLandMass(2)=9999&txtLandMass(3)=9999&txtLandMass(4)=99&txtLandMass(5)=99")
        self.wait_built(0.001, count="progress")
        # While the worker builds, the page's own thread answers: a tab click shows its page
        # and the build is still running.
        self.browser.press("#tabs button[data-tab='2']")
        self.assertEqual(self.field("txtTerrain(0)"), "5")
        self.assertFalse(self.element("stop", "disabled"))
        self.browser.press("#stop")
        self.assertEqual(self.get("document.body.dataset.state"), "stopped")
        self.assertTrue(self.element("stop", "disabled"))
        # A small build afterwards runs in the new worker.
        self.browser.run("""document.getElementById('map-width').value = 30;
                            document.getElementById('map-height').value = 20;
                            document.getElementById('build-seed').click();""")
        self.wait_built()
        self.assertEqual(len(self.element("world-text", "textContent").splitlines()), 20)

    def test_bad_links_show_a_message_and_the_defaults(self):
        cases = [  # (fragment, words the message names)
            ("#w=0&h=150&wrap=1&seed=3", ["width"]),
            ("#w=200&h=99999&wrap=7&seed=3", ["height", "wrap"]),
            ("#w=200&h=150&wrap=1&seed=3&txtNothing(1)=4&chkLandEqual(0)=9", ["txtNothing(1)", "chkLandEqual(0)"]),
            ("#w=abc&seed=-1&%zz", ["width", "seed", "%zz"]),
        ]
        for fragment, words in cases:
            with self.subTest(fragment=fragment):
                self.open(fragment)
                self.wait_built()
                message = self.get("document.getElementById('message').hidden ? '' : "
                                   "document.getElementById('message').textContent")
                for word in words:
                    self.assertIn(word, message)
                self.assertEqual((self.element("map-width"), self.element("map-height")), ("200", "150"))
                seed, wrap = self.element("seed"), self.element("map-wrap", "checked")
                # No field is changed: the link names the size, wrap and seed alone.
                self.assertEqual(self.element("link", "getAttribute('href')"), f"#w=200&h=150&wrap={int(wrap)}&seed={seed}")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
