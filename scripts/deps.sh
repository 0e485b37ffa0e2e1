#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
set -euo pipefail

# console-data supplies the fonts the build turns into the built-in glyphs; it
# asks about keymaps unless DEBIAN_FRONTEND=noninteractive (exported below).
# zlib1g-dev lets the build tool read those gzip-compressed fonts; libpng-dev
# and libgif-dev write the pictures and animations of mehrfachspalt-snapshot.
# libsdl2-dev and libx11-dev carry the window (SDL2 is also the peer the
# benchmarks measure the drawing against); xvfb, xdotool and imagemagick let
# the window and end-to-end tests run a display of their own, type and take
# screenshots (and decode the animations); openbox and fluxbox are the window
# managers the window is tried under, wmctrl sends their maximise and close
# requests and x11-utils (xprop, xwininfo, xdpyinfo) reads back what they did.
# weston (on that display) and sway (headless) are the Wayland compositors of
# the tests, with wtype to type and grim to take screenshots on sway; on
# Wayland SDL draws the window through OpenGL ES, which libgl1-mesa-dri does in
# software on a machine without a graphics card.
packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev console-data
  zlib1g-dev libpng-dev libgif-dev libsdl2-dev libx11-dev xvfb xdotool x11-xserver-utils imagemagick
  openbox fluxbox wmctrl x11-utils weston sway wtype grim libgl1-mesa-dri)
# A caller may name more (CI adds clang and its fuzzer runtime, the package
# script its tools).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
