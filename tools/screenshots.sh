#!/usr/bin/env bash
# Takes the screenshots of the parameters window (its six pages and the watch display in
# the middle of a build) and of lorvex-gui (its seed gallery, and a world zoomed in with the
# square under the pointer read out) under Qt's offscreen platform, into build/screenshots/,
# and copies those the README shows to docs/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
[ -f build/CMakeCache.txt ] || cmake --preset default >/dev/null
cmake --build build --target lorvex_screenshots -j "$(nproc)"
rm -rf build/screenshots
QT_QPA_PLATFORM=offscreen build/bin/lorvex_screenshots build/screenshots
mkdir -p docs/screenshots
pictures=(page1-land-masses.png page4-player-cities.png watch-display.png gallery.png world-zoomed.png world-large.png)
for picture in "${pictures[@]}"; do
  cp "build/screenshots/$picture" "docs/screenshots/$picture"
done
echo "Copied to docs/screenshots/: ${pictures[*]}"
