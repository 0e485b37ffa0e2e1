#!/usr/bin/env bash
# What the running program costs: starts it on an Xvfb display of its own,
# reports the time from start to the first picture (its window showing the
# white background at pixel (0,0)) and then its CPU use and the X server's
# (utime + stime of /proc/PID/stat) over a span of animation.
#
#   bench/cpu_usage.sh [PROGRAM] [SECONDS]     (defaults: build/mehrfachspalt, 10)
#
# SCREEN=1920x1080 sets the display's size (default 1024x768); FULLSCREEN=1
# measures after Alt+Enter, the picture scaled to the whole screen.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/mehrfachspalt}
seconds=${2:-10}
export E2E_X_CLIENT=${E2E_X_CLIENT:-$root/build/tests/e2e/x_client}
[ -x "$E2E_X_CLIENT" ] || { echo "build the x_client tool first (cmake --build build)" >&2; exit 1; }
source "$root/tests/e2e/harness.sh"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# utime + stime in clock ticks; the fields after the command name, which is in brackets.
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
percent() {
  awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v ms="$2" 'BEGIN { printf "%.2f", 100 * t / hz / (ms / 1000) }'
}

e2e_start_display "${SCREEN:-1024x768}"
started=$(now_ms)
e2e_start_program "$program"
until wid=$("$E2E_X_CLIENT" find mehrfachspalt 2>/dev/null) &&
      [ "$("$E2E_X_CLIENT" pixel "$wid" 0 0 2>/dev/null)" = "255 255 255" ]; do
  kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended: $(cat "$E2E_DIR/stderr")"
  [ $(( $(now_ms) - started )) -lt 10000 ] || e2e_fail "no picture within 10 s"
  sleep 0.002
done
first_picture=$(( $(now_ms) - started ))
echo "first picture after ${first_picture} ms"

if [ "${FULLSCREEN:-0}" = 1 ]; then
  e2e_keys "$wid" alt+Return
  size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
  e2e_wait_geometry "$wid" "0 0 ${size/x/ }" || e2e_fail "no full screen: $(e2e_geometry "$wid")"
  sleep 1  # the switch's own repaints stay out of the span
fi

program_before=$(cpu_ticks "$E2E_PID")
server_before=$(cpu_ticks "$E2E_XVFB_PID")
span_start=$(now_ms)
sleep "$seconds"
program_after=$(cpu_ticks "$E2E_PID")
server_after=$(cpu_ticks "$E2E_XVFB_PID")
span=$(( $(now_ms) - span_start ))

echo "CPU over $(awk -v ms="$span" 'BEGIN { printf "%.1f", ms / 1000 }') s, % of one core:" \
  "program $(percent $((program_after - program_before)) "$span")," \
  "X server $(percent $((server_after - server_before)) "$span")"
