#!/usr/bin/env bash
# Runs the libFuzzer targets of fuzz/ under AddressSanitizer and UndefinedBehaviorSanitizer
# (the sanitize preset's build-sanitize/), side by side (one a core), each for SECONDS,
# starting from a copy of its committed seed corpus fuzz/corpus/<target>/.
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
# Each target runs in a folder of its own with its own log; targets run side by side, one a
# core, and report in the order given.
fuzz_one() {
  local target=$1 binary="$build/bin/${1}_fuzz" work=$2
  mkdir -p "$work/corpus"
  cp -r "$root/fuzz/corpus/$target/." "$work/corpus/" 2>/dev/null || true
  local dict=()
  [ -f "$root/fuzz/$target.dict" ] && dict=("-dict=$root/fuzz/$target.dict")
  (cd "$work" && ASAN_OPTIONS=detect_leaks=1 "$binary" -max_total_time="$seconds" -timeout=30 \
      -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$findings/$target-" \
      "${dict[@]}" corpus >"$work/log" 2>&1)
}
for target in "${targets[@]}"; do
  [ -x "$build/bin/${target}_fuzz" ] || { echo "missing $build/bin/${target}_fuzz (cmake --preset sanitize && cmake --build --preset sanitize)"; exit 1; }
done
jobs=$(nproc)
declare -A work pid
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  work[$target]=$(mktemp -d)
  echo "== fuzz $target for ${seconds}s"
  fuzz_one "$target" "${work[$target]}" &
  pid[$target]=$!
done
status=0
for target in "${targets[@]}"; do
  w=${work[$target]}
  if wait "${pid[$target]}"; then
    echo "== $target:"
    grep -E '^#[0-9]+' "$w/log" | tail -n 1 || true
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$w/log" || true
    echo "corpus: $(find "$w/corpus" -type f | wc -l) inputs"
    if [ "$merge" = 1 ]; then
      mkdir -p "$root/fuzz/corpus/$target"
      "$build/bin/${target}_fuzz" -merge=1 -timeout=30 -rss_limit_mb=4096 "$root/fuzz/corpus/$target" "$w/corpus" \
        >"$w/merge.log" 2>&1
      grep -E 'MERGE-OUTER: [0-9]+ new files' "$w/merge.log" || true
    fi
  else
    status=1
    echo "fuzz $target FAILED; the input is kept in $findings/"
    tail -n 60 "$w/log"
  fi
  rm -rf "$w"
done
exit $status
