#!/usr/bin/env bash
# What the running program costs: starts it on an Xvfb display of its own,
# reports the time from start to the first picture (its window showing the
# white background at pixel (0,0)) and then its CPU use (utime + stime of
# /proc/PID/stat) over a span of animation.
#
#   bench/cpu_usage.sh [PROGRAM] [SECONDS]     (defaults: build/mehrfachspalt, 10)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/mehrfachspalt}
seconds=${2:-10}
export E2E_X_CLIENT=${E2E_X_CLIENT:-$root/build/tests/e2e/x_client}
[ -x "$E2E_X_CLIENT" ] || { echo "build the x_client tool first (cmake --build build)" >&2; exit 1; }
source "$root/tests/e2e/harness.sh"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# utime + stime in clock ticks; the fields after the command name, which is in brackets.
cpu_ticks() { sed 's/^.*) //' "/proc/$E2E_PID/stat" | awk '{print $12 + $13}'; }

e2e_start_display
started=$(now_ms)
e2e_start_program "$program"
until wid=$("$E2E_X_CLIENT" find mehrfachspalt 2>/dev/null) &&
      [ "$("$E2E_X_CLIENT" pixel "$wid" 0 0 2>/dev/null)" = "255 255 255" ]; do
  kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended: $(cat "$E2E_DIR/stderr")"
  [ $(( $(now_ms) - started )) -lt 10000 ] || e2e_fail "no picture within 10 s"
  sleep 0.002
done
first_picture=$(( $(now_ms) - started ))

ticks_before=$(cpu_ticks)
span_start=$(now_ms)
sleep "$seconds"
ticks_after=$(cpu_ticks)
span=$(( $(now_ms) - span_start ))
hz=$(getconf CLK_TCK)

echo "first picture after ${first_picture} ms"
awk -v t=$((ticks_after - ticks_before)) -v hz="$hz" -v ms="$span" \
  'BEGIN { printf "CPU %.2f %% of one core over %.1f s\n", 100 * t / hz / (ms / 1000), ms / 1000 }'
