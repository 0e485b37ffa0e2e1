#!/usr/bin/env bash
# What the program costs while it waits for a key in single-step mode: starts
# it on an Xvfb of its own, presses "s", and reports over a span its CPU use
# (utime + stime of /proc/PID/stat, all threads, and the nanoseconds on the
# processor of schedstat, since a tick of the former is already 0.1 % of ten
# seconds) and its wake-ups (the voluntary context switches of each thread
# under /proc/PID/task), per thread and in all.
#
#   bench/step_wait_cpu.sh [PROGRAM] [SECONDS]
#
# Defaults: build/mehrfachspalt, 10.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/mehrfachspalt}
seconds=${2:-10}
export E2E_X_CLIENT=${E2E_X_CLIENT:-$root/build/tests/e2e/x_client}
[ -x "$E2E_X_CLIENT" ] || { echo "build the x_client tool first (cmake --build build)" >&2; exit 1; }
source "$root/tests/e2e/harness.sh"

# utime + stime in clock ticks; the fields after the command name, which is in brackets.
cpu_ticks() { sed 's/^.*) //' "$1" | awk '{print $12 + $13}'; }
switches() { awk '/^voluntary_ctxt_switches/ {print $2}' "$1"; }
run_ns() { awk '{print $1}' "$1"; }
# One line per thread: id, name, CPU ticks, voluntary switches, nanoseconds run.
threads() {
  local task
  for task in /proc/"$E2E_PID"/task/*; do
    echo "${task##*/} $(tr ' ' '_' <"$task/comm") $(cpu_ticks "$task/stat") $(switches "$task/status")" \
      "$(run_ns "$task/schedstat")"
  done
}

e2e_start_display
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt) || e2e_fail "no window"
e2e_wait_pixel "$wid" 0 0 "255 255 255" || e2e_fail "no picture"
e2e_keys "$wid" s
# The frame that takes the "s" waits for the next key.
sleep 1
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended"

before=$(threads)
start=$(date +%s%N)
sleep "$seconds"
after=$(threads)
span_ms=$(( ($(date +%s%N) - start) / 1000000 ))

join <(sort <<<"$before") <(sort <<<"$after") |
  awk -v hz="$(getconf CLK_TCK)" -v ms="$span_ms" '
    { t = $7 - $3; s = $8 - $4; n = $9 - $5; ticks += t; all += s; ns += n
      printf "thread %s (%s): CPU %.3f %% (ticks %.2f %%), %.1f wake-ups/s\n", $1, $2,
             100 * n / 1e6 / ms, 100 * t / hz / (ms / 1000), s / (ms / 1000) }
    END { printf "program, single-step wait: CPU %.3f %% of one core (ticks %.2f %%), %.1f wake-ups/s over %.1f s\n",
                 100 * ns / 1e6 / ms, 100 * ticks / hz / (ms / 1000), all / (ms / 1000), ms / 1000 }'
kill "$E2E_PID"
e2e_wait_exit
