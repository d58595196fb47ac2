#!/usr/bin/env bash
# Shared set-up of ./run and ./test: install what is missing with apt-get, then configure
# and build each CMake preset named on the command line (default: "default", into build/).
set -euo pipefail

packages=(cmake g++ clang libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
          libcli11-dev nlohmann-json3-dev qt6-base-dev libclang-rt-14-dev python3
          tiled  # tiled: tmxrasterizer renders the exported maps in the tests
          libxcb1-dev  # the parameters window tries the X display before Qt opens it
          xvfb  # an X server of its own for the lorvex-gui tests under X
          fonts-dejavu-core  # the window's font, also under Qt's offscreen platform
          libfreetype-dev libfontconfig-dev  # captions of the pictures the tools write
          python3-venv python3-pip python3-setuptools python3-numpy  # pip install ./python
          pkgconf  # pkg-config, for the installed lorvex.pc
          emscripten chromium chromium-driver)  # the page: built to WebAssembly, tested in Chromium
# A Freeciv server plays the exported scenarios in the tests; where it cannot be installed,
# those tests say so and skip.
optional=(freeciv-server freeciv-data)
missing=()
optional_missing=()
for p in "${packages[@]}" "${optional[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" && continue
  if [[ " ${optional[*]} " == *" $p "* ]]; then optional_missing+=("$p"); else missing+=("$p"); fi
done
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if [ $((${#missing[@]} + ${#optional_missing[@]})) -gt 0 ]; then
  $sudo_cmd apt-get update -qq || true
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ ${#optional_missing[@]} -gt 0 ]; then
  echo "Installing: ${optional_missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${optional_missing[@]}" >/dev/null ||
    echo "Could not install ${optional_missing[*]}: the Freeciv tests will be skipped"
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(default)
for preset in "${presets[@]}"; do
  start=$SECONDS
  cmake --preset "$preset" >/dev/null
  echo "== configure $preset: $((SECONDS - start)) s"
  start=$SECONDS
  # One job more than the cores, so that a core waiting on the disk or a link has work.
  cmake --build --preset "$preset" -j "$(($(nproc) + 1))"
  echo "== build $preset: $((SECONDS - start)) s"
done
