"""Takes the README's picture of the page: a world built in headless Chromium, zoomed in.

    web/build.sh && python3 tools/web-screenshot.py docs/screenshots/web-page.png
"""
import base64
import functools
import http.server
import os
import sys
import tempfile
import threading
import time

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(root, "tests", "web"))
from web_test import Browser, QuietHandler  # noqa: E402

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "docs", "screenshots", "web-page.png")
site = os.path.join(root, "build-web", "site")
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=site))
threading.Thread(target=server.serve_forever, daemon=True).start()
with tempfile.TemporaryDirectory() as profile:
    browser = Browser(profile)
    try:
        browser._call("POST", f"/session/{browser.session}/window/rect", {"width": 1500, "height": 920})
        browser.go(f"http://127.0.0.1:{server.server_address[1]}/index.html#w=200&h=150&wrap=1&seed=2026")
        deadline = time.time() + 60
        while not browser.run("return document.body.dataset.state === 'built'"):
            if time.time() > deadline:
                raise SystemExit("the page built no world")
            time.sleep(0.2)
        # Zoom in twice round a point of the map, and read out the square under it.
        browser.run("""const c = document.getElementById('map'); const r = c.getBoundingClientRect();
            for (let i = 0; i < 2; ++i)
              c.dispatchEvent(new WheelEvent('wheel', {deltaY: -250, clientX: r.left + r.width * 0.45,
                                                       clientY: r.top + r.height * 0.5, bubbles: true}));
            c.dispatchEvent(new PointerEvent('pointermove', {clientX: r.left + r.width * 0.45,
                                                             clientY: r.top + r.height * 0.5, bubbles: true}));""")
        time.sleep(0.5)
        png = base64.b64decode(browser._call("GET", f"/session/{browser.session}/screenshot"))
    finally:
        browser.close()
        server.shutdown()
with open(out, "wb") as f:
    f.write(png)
print(f"wrote {out}")
