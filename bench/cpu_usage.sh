#!/usr/bin/env bash
# What the running program costs: starts it on a display of its own, reports
# the time from start to the first picture (X11: its window showing the
# white background at pixel (0,0)) and then its CPU use (utime + stime of
# /proc/PID/stat, all its threads) over a span of animation, and that of the
# display server or compositor beside it.
#
#   bench/cpu_usage.sh [PROGRAM] [SECONDS] [x11|weston|sway] [window|fullscreen]
#
# Defaults: build/mehrfachspalt, 10, x11, window. weston runs on an Xvfb (its
# X11 backend, in software), whose CPU use is reported too; sway runs
# headless as nobody. fullscreen switches with Alt+Enter first (on X11 until
# the window covers the screen). SCREEN=1920x1080 sets the X11 display's size
# (default 1024x768).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/mehrfachspalt}
seconds=${2:-10}
display=${3:-x11}
form=${4:-window}
export E2E_X_CLIENT=${E2E_X_CLIENT:-$root/build/tests/e2e/x_client}
[ -x "$E2E_X_CLIENT" ] || { echo "build the x_client tool first (cmake --build build)" >&2; exit 1; }
source "$root/tests/e2e/harness.sh"
source "$root/bench/measure.sh"
[ "$display" = x11 ] || source "$root/tests/e2e/wayland_harness.sh"

started=$(now_ms)
if [ "$display" = x11 ]; then
  e2e_start_display "${SCREEN:-1024x768}"
  e2e_start_program "$program"
  wid=$(x11_wait_picture 10000) || e2e_fail "no first picture"
  echo "first picture after $(( $(now_ms) - started )) ms"
  if [ "$form" = fullscreen ]; then
    x11_full_screen "$wid" || e2e_fail "no full screen"
  fi
  servers=("$E2E_XVFB_PID")
  names=(Xvfb)
else
  wl_start_compositor "$display"
  wl_start_program "$program"
  wl_plug_keyboard
  shot="$E2E_DIR/shot.png"
  # Windowed the picture is 640 x 480; full screen as wide as the output.
  wait_box() {
    local tries=0
    until wl_screenshot "$shot" 2>/dev/null && [[ "$(wl_find_picture "$shot")" == $1* ]]; do
      kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended: $(cat "$E2E_DIR/stderr")"
      tries=$((tries + 1))
      [ "$tries" -lt "$2" ] || return 1
      sleep 0.1
    done
  }
  wait_box 640x480 100 || e2e_fail "no window of 640 x 480"
  if [ "$form" = fullscreen ]; then
    width=$(identify -format '%w' "$shot")
    # sway's first keys may come before the program has its keyboard.
    for tries in 1 2 3 4 5; do
      wl_keys alt+Return
      wait_box "${width}x" 20 && break
      [ "$tries" -lt 5 ] || e2e_fail "Alt+Enter gave no full screen"
    done
  fi
  servers=("$WL_COMPOSITOR_PID")
  names=("$display")
  [ "$display" = weston ] && servers+=("$E2E_XVFB_PID") && names+=(Xvfb)
fi

pids=("$E2E_PID" "${servers[@]}")
measured=$(cpu_span "$seconds" "${pids[@]}") || e2e_fail "a process ended while it was measured"
read -r span shares <<<"$measured"
read -ra shares <<<"$shares"
labels=(program "${names[@]}")
for i in "${!pids[@]}"; do
  echo "$display, $form, ${labels[$i]}: CPU ${shares[$i]} % of one core over $span s"
done
# SIGTERM is the close request: the program ends as from its close button.
kill "$E2E_PID"
e2e_wait_exit
