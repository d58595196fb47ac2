"""Times the page's builds in headless Chromium: N default 200 x 150 wrapping worlds (seeds
1 .. N) built in a worker by the WebAssembly module, as the page builds them. Prints the
first build's time and the median of the rest.

    web/build.sh && python3 bench/web_bench.py [--count N] [--repetitions R]
"""
import argparse
import functools
import http.server
import json
import os
import statistics
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from web_test import Browser, QuietHandler  # noqa: E402

parser = argparse.ArgumentParser()
parser.add_argument("--site", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build-web", "site"))
parser.add_argument("--count", type=int, default=200)
parser.add_argument("--repetitions", type=int, default=5)
parser.add_argument("--size", default="200x150")
args = parser.parse_args()
w, h = (int(n) for n in args.size.split("x"))

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=args.site))
threading.Thread(target=server.serve_forever, daemon=True).start()
with tempfile.TemporaryDirectory() as profile:
    browser = Browser(profile)
    medians, firsts = [], []
    try:
        for _ in range(args.repetitions):
            browser.go(f"http://127.0.0.1:{server.server_address[1]}/bench.html?count={args.count}&w={w}&h={h}")
            result = browser.run_async("""const done = arguments[arguments.length - 1];
                const poll = () => document.body.dataset.done ? done(document.getElementById('result').textContent)
                                                                : setTimeout(poll, 50);
                poll();""")
            result = json.loads(result)
            medians.append(result["median_ms"])
            firsts.append(result["first_ms"])
    finally:
        browser.close()
        server.shutdown()
print(f"{w} x {h} wrapping, defaults, {args.count} worlds a run, {args.repetitions} runs")
print(f"first build: median {statistics.median(firsts):.2f} ms")
print(f"later builds: median of the runs' medians {statistics.median(medians):.3f} ms "
      f"(runs {min(medians):.3f} to {max(medians):.3f} ms)")
