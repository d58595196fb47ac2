#!/usr/bin/env bash
# Runs each fuzz target for the given number of seconds (default 60) from a copy of its
# committed corpus, under the sanitizers. Longer runs: tools/fuzz.sh 1800
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds="${1:-60}"
build="$root/build-sanitize"
status=0
for target in build settings; do
  binary="$build/bin/${target}_fuzz"
  [ -x "$binary" ] || { echo "missing $binary (build the sanitize preset)"; exit 1; }
  work=$(mktemp -d)
  cp -r "$root/fuzz/corpus/$target/." "$work/" 2>/dev/null || true
  echo "== fuzz $target for ${seconds}s"
  (cd "$work" && "$binary" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
      -print_final_stats=1 "$work" 2>&1 | tail -n 12) || status=1
  rm -rf "$work"
done
exit $status
