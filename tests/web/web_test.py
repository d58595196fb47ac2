"""The page in headless Chromium, judged by the command line: a link opens the world that
`lorvex build` makes for the same size, seed and fields (its Text tab and every download),
fields typed out of range are held to the window's ranges, Recommend then Build equals the
same through the command line, Stop ends a large build, and bad links show a message and
the defaults.

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


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Browser:
    """A small WebDriver client over chromedriver."""

    def __init__(self, profile):
        self.port = free_port()
        self.driver = subprocess.Popen(["chromedriver", f"--port={self.port}"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 30
        while True:
            try:
                self._call("GET", "/status")
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.1)
        caps = {"browserName": "chrome", "goog:chromeOptions": {
            "binary": "/usr/bin/chromium", "args": CHROMIUM_ARGS + [f"--user-data-dir={profile}"]}}
        self.session = self._call("POST", "/session", {"capabilities": {"alwaysMatch": caps}})["sessionId"]
        self._call("POST", f"/session/{self.session}/timeouts", {"script": int(WAIT * 1000)})

    def _call(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(f"http://127.0.0.1:{self.port}{path}", data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=WAIT + 30) as answer:
                return json.loads(answer.read())["value"]
        except urllib.error.HTTPError as error:
            raise AssertionError(f"WebDriver {path}: {error.read()[:500]!r}") from None

    def go(self, url):
        self._call("POST", f"/session/{self.session}/url", {"url": url})

    def run(self, script, *args):
        return self._call("POST", f"/session/{self.session}/execute/sync", {"script": script, "args": list(args)})

    def run_async(self, script, *args):
        return self._call("POST", f"/session/{self.session}/execute/async", {"script": script, "args": list(args)})

    def element(self, css):
        found = self._call("POST", f"/session/{self.session}/element", {"using": "css selector", "value": css})
        return next(iter(found.values()))

    def type_into(self, css, text):
        """Types as a person does (the box's length cuts the text), then tabs out of it."""
        el = self.element(css)
        # Control+A selects the box's text, which the typing replaces; Tab leaves the box.
        self._call("POST", f"/session/{self.session}/element/{el}/value",
                   {"text": "\ue009a\ue000" + text + "\ue004"})

    def click(self, css):
        self._call("POST", f"/session/{self.session}/element/{self.element(css)}/click", {})

    def close(self):
        try:
            self._call("DELETE", f"/session/{self.session}")
        finally:
            self.driver.terminate()
            self.driver.wait()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


@unittest.skipUnless(SITE and CLI, "needs the page's folder and the lorvex tool")
class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="lorvex-web-")
        handler = functools.partial(QuietHandler, directory=SITE)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.base = f"http://127.0.0.1:{cls.server.server_address[1]}/index.html"
        cls.browser = Browser(os.path.join(cls.tmp, "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.shutdown()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    # --- the page

    def open(self, fragment):
        """Opens the page at a link and waits for its first world."""
        self.browser.go("about:blank")
        self.browser.go(self.base + fragment)
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
        deadline = time.time() + WAIT
        while time.time() < deadline:
            try:
                if self.browser.run(condition, *args):
                    return
            except AssertionError:
                pass
            time.sleep(0.1)
        self.fail(f"the page never reached: {condition}")

    def wait_built(self, builds=1):
        """Waits for the page's n-th world; a question of the window is answered Yes, as the
        command line's --yes answers it."""
        self.wait("""const b = document.getElementById('build-anyway');
                     if (document.body.dataset.state === 'refused' && b) b.click();
                     return Number(document.body.dataset.builds || 0) >= arguments[0]""", builds)

    def text(self):
        return self.browser.run("return document.getElementById('world-text').textContent")

    def field(self, key):
        return self.browser.run(f"return document.querySelector('[data-field=\"{key}\"]').value")

    def downloads(self, formats):
        """Presses each download button; answers {file name: bytes}."""
        self.browser.run("window.caught = []")
        expected = 0
        for name in formats:
            self.browser.click(f"#download-{name}")
            expected += 2 if name == "tmx" else 1
            self.wait("return window.caught.length >= arguments[0]", expected)
        return {name: base64.b64decode(data) for name, data in self.browser.run("return window.caught")}

    # --- the command line

    def cli_build(self, w, h, wrap, seed, lines=(), settings=None, name="cli"):
        out = os.path.join(self.tmp, name)
        os.makedirs(out, exist_ok=True)
        args = [CLI, "build", "--width", str(w), "--height", str(h), "--seed", str(seed), "--yes", "--quiet",
                "--text", f"{out}/world.txt", "--png", f"{out}/world.png", "--json", f"{out}/world.json",
                "--tmx", f"{out}/world.tmx"]
        if w >= 16 and h >= 16:
            args += ["--freeciv", f"{out}/world.sav"]
        if wrap:
            args.append("--wrap")
        if settings:
            args += ["--settings", settings]
        for line in lines:
            args += ["--set", line]
        subprocess.run(args, check=True, cwd=self.tmp)
        return {f: open(os.path.join(out, f), "rb").read() for f in os.listdir(out)}

    # --- the tests

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
                fragment = f"#w={w}&h={h}&wrap={int(wrap)}&seed={seed}" + "".join(
                    f"&{urllib.parse.quote(k)}={urllib.parse.quote(v)}" for k, v in fields)
                self.open(fragment)
                self.wait_built()
                cli = self.cli_build(w, h, wrap, seed, [f"{k} = {v}" for k, v in fields], name=f"cli-{seed}")
                self.assertEqual(self.text(), cli["world.txt"].decode())
                # The link the page offers holds the same world: its size, seed and fields
                # (the opening ones, and those their checks changed) given to the command line.
                link = self.browser.run("return document.getElementById('link').getAttribute('href')")
                pairs = [p.split("=", 1) for p in link[1:].split("&")]
                self.assertEqual(pairs[:4], [["w", str(w)], ["h", str(h)], ["wrap", str(int(wrap))], ["seed", seed]])
                again = self.cli_build(w, h, wrap, seed, [f"{urllib.parse.unquote(k)} = {urllib.parse.unquote(v)}"
                                                          for k, v in pairs[4:]], name=f"cli-link-{seed}")
                self.assertEqual(again["world.txt"], cli["world.txt"])
                if not every:
                    continue
                got = self.downloads(["text", "png", "json", "tmx", "freeciv"])
                self.assertEqual(got["world.txt"], cli["world.txt"])
                self.assertEqual(got["world.png"], cli["world.png"])
                self.assertEqual(json.loads(got["world.json"]), json.loads(cli["world.json"]))
                self.assertEqual(got["world.tmx"], cli["world.tmx"])
                self.assertEqual(got["world-terrain.png"], cli["world-terrain.png"])
                if "world.sav" in cli:
                    self.assertEqual(got["world.sav"], cli["world.sav"])

    def test_settings_files_are_written_and_read_as_the_command_line_does(self):
        lines = ["txtLandMass(0) = 4", "chkLandPlace(2) = 1", "txtCities(3) = 150", "cboPlace1Param2(0) = 1"]
        written = os.path.join(self.tmp, "written.kst")
        subprocess.run([CLI, "settings", "--save", written] + [a for line in lines for a in ("--set", line)],
                       check=True, cwd=self.tmp)
        # Save Settings of a page opened with the same fields writes the same file.
        self.open("#w=40&h=30&wrap=0&seed=1&" + "&".join(
            urllib.parse.quote(line.split(" = ")[0]) + "=" + line.split(" = ")[1] for line in lines))
        self.browser.run("window.caught = []")
        self.browser.click("#save-settings")
        self.wait("return window.caught.length > 0")
        name, data = self.browser.run("return window.caught[0]")
        self.assertEqual(base64.b64decode(data), open(written, "rb").read())
        # Load Settings into a page at its defaults takes the file's fields.
        self.open("#w=40&h=30&wrap=0&seed=1")
        self.browser.run("document.getElementById('settings-file').hidden = false")
        el = self.browser.element("#settings-file")
        self.browser._call("POST", f"/session/{self.browser.session}/element/{el}/value", {"text": written})
        self.wait("return document.querySelector('[data-field=\"txtLandMass(0)\"]').value === '4'")
        link = self.browser.run("return document.getElementById('link').getAttribute('href')")
        for line in lines:
            key, value = line.split(" = ")
            self.assertIn(f"&{key}={value}", link)

    def test_fields_typed_out_of_range_are_held_to_the_window_ranges(self):
        self.open("#w=40&h=30&wrap=0&seed=1")
        self.wait_built()
        cases = [  # (field, typed, held): the ranges of the window's validators
            ("txtAlgorithm(1)", "0", "1"), ("txtAlgorithm(1)", "250", "100"),
            ("txtBlobv2(0)", "9", "10"), ("txtBlobv2(0)", "81", "80"),
            ("txtBlobv3(1)", "3", "15"), ("txtBlobv3(0)", "11", "10"),
            ("txtShape(1)", "99", "50"), ("txtShape(0)", "59", "60"),
            ("txtAlgorithm(0)", "12abc", "12"),  # the box's length cuts "12abc" to "12a"
        ]
        tabs = {"txtAlgorithm": 5, "txtBlobv2": 5, "txtBlobv3": 5, "txtShape": 5, "txtTerrain": 2}
        for key, typed, held in cases:
            with self.subTest(key=key, typed=typed):
                self.browser.click(f"#tabs button[data-tab='{tabs[key.split('(')[0]]}']")
                self.browser.type_into(f"[data-field='{key}']", typed)
                self.assertEqual(self.field(key), held)
        # A Lo raised above its Hi drags the Hi with it; a Hi lowered below its Lo snaps back.
        self.browser.click("#tabs button[data-tab='2']")
        self.browser.type_into("[data-field='txtTerrain(0)']", "12")
        self.assertEqual((self.field("txtTerrain(0)"), self.field("txtTerrain(1)")), ("12", "12"))
        self.browser.type_into("[data-field='txtTerrain(3)']", "3")
        self.assertEqual(self.field("txtTerrain(3)"), "5")

    def test_recommend_then_build_equals_the_command_line(self):
        w, h, seed = 120, 80, "99"
        self.open(f"#w={w}&h={h}&wrap=1&seed={seed}")
        self.wait_built()
        self.browser.click("#recommend")
        self.wait_built(2)  # a small map is rebuilt as its fields change
        # Recommend drew from the window's generator: the world's key names its draws.
        key = self.browser.run("return document.getElementById('seed').value")
        self.assertRegex(key, r"^99-[1-9][0-9]*$")
        self.assertIn(f"seed={key}&", self.browser.run("return document.getElementById('link').getAttribute('href')"))
        settings = os.path.join(self.tmp, "recommended.kst")
        subprocess.run([CLI, "recommend", "--width", str(w), "--height", str(h), "--seed", seed,
                        "--save", settings], check=True, cwd=self.tmp, stdout=subprocess.DEVNULL)
        cli = self.cli_build(w, h, True, key, settings=settings, name="cli-recommend")
        self.assertEqual(self.text(), cli["world.txt"].decode())
        self.assertNotEqual(self.field("txtLandMass(2)"), "400")  # Recommend wrote the sizes

    def test_stop_ends_a_large_build_and_the_page_answers_meanwhile(self):
        # Large masses of 9999 squares by the thousand, with sea borders of 99: a build of
        # many seconds (six of processor time natively).
        self.open("#w=4096&h=4096&wrap=0&seed=5&txtLandMass(0)=999&txtLandMass(1)=999"
                  "&txtLandMass(2)=9999&txtLandMass(3)=9999&txtLandMass(4)=99&txtLandMass(5)=99")
        self.wait("""const b = document.getElementById('build-anyway');  // the land warning: Yes
                     if (document.body.dataset.state === 'refused' && b) b.click();
                     return Number(document.body.dataset.progress || 0) > 0""")
        # While the worker builds, the page's own thread answers: a tab click shows its page
        # and the build is still running.
        self.browser.click("#tabs button[data-tab='2']")
        self.assertEqual(self.field("txtTerrain(0)"), "5")
        self.assertFalse(self.browser.run("return document.getElementById('stop').disabled"))
        self.browser.click("#stop")
        self.assertEqual(self.browser.run("return document.body.dataset.state"), "stopped")
        self.assertTrue(self.browser.run("return document.getElementById('stop').disabled"))
        # A small build afterwards runs in the new worker.
        self.browser.run("""document.getElementById('map-width').value = 30;
                            document.getElementById('map-height').value = 20;
                            document.getElementById('build-seed').click();""")
        self.wait_built()
        self.assertEqual(len(self.text().splitlines()), 20)

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
                message = self.browser.run("const m = document.getElementById('message'); "
                                           "return m.hidden ? '' : m.textContent")
                for word in words:
                    self.assertIn(word, message)
                size = self.browser.run("return [document.getElementById('map-width').value, "
                                        "document.getElementById('map-height').value]")
                self.assertEqual(size, ["200", "150"])
                seed = self.browser.run("return document.getElementById('seed').value")
                wrap = self.browser.run("return document.getElementById('map-wrap').checked")
                cli = self.cli_build(200, 150, wrap, seed, name="cli-bad")
                self.assertEqual(self.text(), cli["world.txt"].decode())
                # No field is changed: the link names the size, wrap and seed alone.
                link = self.browser.run("return document.getElementById('link').getAttribute('href')")
                self.assertEqual(link, f"#w=200&h=150&wrap={int(wrap)}&seed={seed}")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
