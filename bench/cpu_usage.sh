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
# headless as nobody. fullscreen switches with Alt+Enter first. SCREEN=1920x1080
# sets the X11 display's size (default 1024x768).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/mehrfachspalt}
seconds=${2:-10}
display=${3:-x11}
form=${4:-window}
export E2E_X_CLIENT=${E2E_X_CLIENT:-$root/build/tests/e2e/x_client}
[ -x "$E2E_X_CLIENT" ] || { echo "build the x_client tool first (cmake --build build)" >&2; exit 1; }
source "$root/tests/e2e/harness.sh"
[ "$display" = x11 ] || source "$root/tests/e2e/wayland_harness.sh"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# utime + stime in clock ticks; the fields after the command name, which is in brackets.
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

started=$(now_ms)
if [ "$display" = x11 ]; then
  e2e_start_display "${SCREEN:-1024x768}"
  e2e_start_program "$program"
  until wid=$("$E2E_X_CLIENT" find mehrfachspalt 2>/dev/null) &&
        [ "$("$E2E_X_CLIENT" pixel "$wid" 0 0 2>/dev/null)" = "255 255 255" ]; do
    kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended: $(cat "$E2E_DIR/stderr")"
    [ $(( $(now_ms) - started )) -lt 10000 ] || e2e_fail "no picture within 10 s"
    sleep 0.002
  done
  echo "first picture after $(( $(now_ms) - started )) ms"
  if [ "$form" = fullscreen ]; then
    xdotool windowfocus --sync "$wid" key alt+Return
    until [ "$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')" = 1024x768 ]; do
      [ $(( $(now_ms) - started )) -lt 20000 ] || e2e_fail "Alt+Enter gave no full screen"
      sleep 0.1
    done
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
before=()
for pid in "${pids[@]}"; do before+=("$(cpu_ticks "$pid")"); done
span_start=$(now_ms)
sleep "$seconds"
span=$(( $(now_ms) - span_start ))
hz=$(getconf CLK_TCK)
labels=(program "${names[@]}")
for i in "${!pids[@]}"; do
  awk -v t=$(( $(cpu_ticks "${pids[$i]}") - before[i] )) -v hz="$hz" -v ms="$span" \
    -v what="${labels[$i]}" -v d="$display" -v f="$form" \
    'BEGIN { printf "%s, %s, %s: CPU %.2f %% of one core over %.1f s\n", d, f, what, 100 * t / hz / (ms / 1000), ms / 1000 }'
done
# SIGTERM is the close request: the program ends as from its close button.
kill "$E2E_PID"
e2e_wait_exit
