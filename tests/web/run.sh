#!/usr/bin/env bash
# The page's tests: builds the page (web/build.sh), then drives it in headless Chromium and
# compares what it shows and downloads with the command line's output.
#   tests/web/run.sh LORVEX_CLI
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/web/build.sh" >/dev/null
exec python3 "$root/tests/web/web_test.py" "$root/build-web/site" "$1"
