#!/usr/bin/env bash
# Builds the page into build-web/site: the builder compiled to WebAssembly with Debian's
# emscripten (installed with apt-get when missing), zlib and libpng compiled from Debian's
# source packages for the PNG writer, and the page's own files beside them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-web"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

if ! command -v emcc >/dev/null; then
  echo "Installing emscripten"
  $sudo_cmd apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq emscripten >/dev/null
fi

# zlib and libpng: the sources of Debian's packages, unpacked once.
deps="$out/deps"
if [ ! -f "$deps/zlib/zlib.h" ] || [ ! -f "$deps/libpng/png.h" ]; then
  mkdir -p "$deps/download"
  if ! (cd "$deps/download" && apt-get source --download-only zlib libpng1.6 >/dev/null 2>&1); then
    # apt-get source needs the source lists of the archive the machine already uses.
    echo "Adding Debian's source lists to apt, for the zlib and libpng sources"
    list=/etc/apt/sources.list.d/debian-sources.sources
    $sudo_cmd tee "$list" >/dev/null <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $(. /etc/os-release && echo "$VERSION_CODENAME")
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $sudo_cmd apt-get update -qq
    (cd "$deps/download" && apt-get source --download-only zlib libpng1.6 >/dev/null)
  fi
  rm -rf "$deps/zlib" "$deps/libpng"
  mkdir -p "$deps/zlib" "$deps/libpng"
  tar -xf "$deps"/download/zlib_*.orig.tar.* -C "$deps/zlib" --strip-components=1
  tar -xf "$deps"/download/libpng1.6_*.orig.tar.* -C "$deps/libpng" --strip-components=1
fi

# Debian's emcc finds its acorn module only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
emcmake cmake -S "$root/web" -B "$out" -DLORVEX_WEB_DEPS="$deps" "${launcher[@]}" >/dev/null
cmake --build "$out" -j "$(($(nproc) + 1))"
echo "The page is in $out/site"
