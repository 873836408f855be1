#!/usr/bin/env bash
# Installs the Debian packages that tolvane needs and that are not there yet.
# Usage: tools/install-deps.sh [build] [desktop] [bench] [windows] [web]
#   build    compiler, CMake, Qt 6 Widgets, GoogleTest, the IPA Gothic fonts, and
#            fonts with emoji and Hangul for the tests of typed text (default)
#   desktop  a real X display for screenshots: Xvfb, a window manager, ImageMagick,
#            and a Qt platform theme that sets a user's colour scheme
#   bench    the benchmark tools
#   windows  the MinGW-w64 cross compiler, and Wine on Xvfb to run its tests
#   web      Emscripten, the font tools that cut the fonts for the site, librsvg
#            for its icons, the engines that run its tests (Chromium with its
#            driver, WebKitGTK's driver on Xvfb, Firefox ESR through its own
#            WebDriver BiDi), poppler's tools that read a printed page,
#            and the tests' tools from the npm registry (tools/npm's lock file)
set -euo pipefail

declare -A groups=(
  [build]="g++ make cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev fonts-ipafont-gothic fonts-noto-color-emoji fonts-nanum fontconfig desktop-file-utils appstream binutils-mingw-w64-x86-64 dpkg-dev file librsvg2-bin"
  [desktop]="xvfb openbox imagemagick x11-utils xdotool qt6ct"
  [bench]="libx11-dev libxdamage-dev xvfb x11-utils"
  [windows]="make cmake ninja-build g++-mingw-w64-x86-64-posix libgtest-dev wine wine64 xvfb xauth fonts-ipafont-gothic librsvg2-bin icoutils"
  [web]="make cmake ninja-build librsvg2-bin emscripten node-acorn python3 python3-fonttools python3-brotli fonts-ipafont-gothic libgtest-dev chromium chromium-driver python3-selenium webkit2gtk-driver libgl1-mesa-dri xvfb firefox-esr python3-websockets fonts-noto-color-emoji fonts-nanum poppler-utils"
)

wanted=() web=false
for group in "${@:-build}"; do
  [[ $group == web ]] && web=true
  [[ -n "${groups[$group]:-}" ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  read -ra pkgs <<<"${groups[$group]}"
  wanted+=("${pkgs[@]}")
done

# Debian's npm only where there is no npm at all: beside a Node.js that is not
# Debian's, installing it fails with held broken packages.
$web && ! command -v npm >/dev/null && wanted+=(npm)

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$pkg")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

npm_dir=$(dirname "$0")/npm
if $web && [[ ! "$npm_dir/node_modules/.package-lock.json" -nt "$npm_dir/package-lock.json" ]]; then
  echo "install-deps: installing the browser tests' tools from the npm registry"
  npm ci --prefix "$npm_dir" --no-audit --no-fund --loglevel=error
fi
