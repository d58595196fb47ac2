#!/usr/bin/env bash
# Runs the libFuzzer targets of fuzz/ under AddressSanitizer and UndefinedBehaviorSanitizer
# (the sanitize preset's build-sanitize/), one after the other, each for SECONDS, starting
# from a copy of its committed seed corpus fuzz/corpus/<target>/.
#
#   tools/fuzz.sh                   every target for 60 s (as ./test does)
#   tools/fuzz.sh 1800 settings     the settings target for half an hour
#   tools/fuzz.sh --merge 1800      and afterwards merge the inputs that reached new code
#                                   into the committed corpus (minimised)
#
# A crash, a broken rule, a hang (an input that runs for more than 30 s) or a leak fails the
# run: the fuzzer's report is printed and the input is kept in build-sanitize/fuzz-findings/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
merge=0
if [ "${1:-}" = "--merge" ]; then merge=1; shift; fi
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(build settings host)
build="$root/build-sanitize"
findings="$build/fuzz-findings"
mkdir -p "$findings"
status=0
for target in "${targets[@]}"; do
  binary="$build/bin/${target}_fuzz"
  [ -x "$binary" ] || { echo "missing $binary (cmake --preset sanitize && cmake --build --preset sanitize)"; exit 1; }
  work=$(mktemp -d)
  mkdir -p "$work/corpus"
  cp -r "$root/fuzz/corpus/$target/." "$work/corpus/" 2>/dev/null || true
  dict=()
  [ -f "$root/fuzz/$target.dict" ] && dict=("-dict=$root/fuzz/$target.dict")
  echo "== fuzz $target for ${seconds}s"
  if (cd "$work" && ASAN_OPTIONS=detect_leaks=1 "$binary" -max_total_time="$seconds" -timeout=30 \
        -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "${dict[@]}" corpus >"$work/log" 2>&1); then
    grep -E '^#[0-9]+' "$work/log" | tail -n 1 || true
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$work/log" || true
    echo "corpus: $(find "$work/corpus" -type f | wc -l) inputs"
    if [ "$merge" = 1 ]; then
      mkdir -p "$root/fuzz/corpus/$target"
      "$binary" -merge=1 -timeout=30 -rss_limit_mb=4096 "$root/fuzz/corpus/$target" "$work/corpus" \
        >"$work/merge.log" 2>&1
      grep -E 'MERGE-OUTER: [0-9]+ new files' "$work/merge.log" || true
    fi
  else
    status=1
    echo "fuzz $target FAILED; the input is kept in $findings/"
    tail -n 60 "$work/log"
  fi
  rm -rf "$work"
done
exit $status
