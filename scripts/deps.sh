#!/usr/bin/env bash
# Installs the Debian packages one purpose needs, only when one is missing:
#
#   bash scripts/deps.sh run [MORE...]    # building and running the program (run.sh)
#   bash scripts/deps.sh test [MORE...]   # that and the tests and benchmarks (test.sh)
#   bash scripts/deps.sh MORE...          # the program's packages and MORE
#
# A caller may name more packages after the purpose, or in place of it (CI
# adds clang and its fuzzer runtime, the package script its tools).
set -euo pipefail

# Building and running the program, as the configure step of CMakeLists.txt
# asks for them with tests and benchmarks off: the compiler, CMake, make and
# pkg-config; console-data supplies the fonts the build turns into the
# built-in glyphs (it asks about keymaps unless DEBIAN_FRONTEND=noninteractive,
# exported below), and zlib1g-dev lets the build tool read those
# gzip-compressed fonts; libsdl2-dev, libx11-dev and libwayland-dev carry the
# window; libpng-dev and libgif-dev write the pictures and animations of
# mehrfachspalt-snapshot, which the same build makes; on Wayland SDL draws the
# window through OpenGL ES, which libgl1-mesa-dri does in software on a machine
# without a graphics card; gettext's msgfmt compiles the catalogues of the
# texts in other languages than German (po/).
run_packages=(g++ cmake make pkg-config console-data zlib1g-dev libsdl2-dev libx11-dev
  libwayland-dev libpng-dev libgif-dev libgl1-mesa-dri gettext)

# The tests and benchmarks on top: GoogleTest and Google Benchmark (SDL2 is
# also the peer the benchmarks measure the drawing against); xvfb, xdotool,
# x11-xserver-utils and imagemagick let the window and end-to-end tests run a
# display of their own, type, and take screenshots (and decode the
# animations); openbox and fluxbox are the window managers the window is tried
# under, wmctrl sends their maximise and close requests and x11-utils (xprop,
# xwininfo, xdpyinfo) reads back what they did. weston (on that display) and
# sway (headless) are the Wayland compositors of the tests, with wtype to type
# and grim to take screenshots on sway. locales brings the definitions from
# which the tests generate the locales they choose (fr_FR.UTF-8 and others)
# with localedef, into the build folder.
test_packages=("${run_packages[@]}" libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool
  x11-xserver-utils imagemagick openbox fluxbox wmctrl x11-utils weston sway wtype grim locales)

case "${1:-}" in
  run) packages=("${run_packages[@]}") && shift ;;
  test) packages=("${test_packages[@]}") && shift ;;
  *) packages=("${run_packages[@]}") ;;
esac
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# One line says what is installed; the package manager's own output goes to a
# log, whose last lines and name are shown only when the install fails. sudo
# would drop DEBIAN_FRONTEND from the environment: env passes it on, so that
# no question waits unseen behind the log.
log=${DEPS_LOG:-$(cd "$(dirname "$0")/.." && pwd)/build/packages.log}
mkdir -p "$(dirname "$log")"
echo "Installing the missing Debian packages: ${missing[*]} (log: $log)"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
apt=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)
if ! { "${apt[@]}" update -qq && "${apt[@]}" install -y -qq --no-install-recommends \
  "${missing[@]}"; } >"$log" 2>&1 </dev/null; then
  echo "Installing ${missing[*]} failed; the last lines of $log:" >&2
  tail -n 15 "$log" >&2
  exit 1
fi
echo "Installed: ${missing[*]}"
