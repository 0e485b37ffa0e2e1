#!/usr/bin/env bash
# Faults from outside: a hang-up while drawing ends the program as the close
# request does (status 0); so does the close request in the middle of a key
# flood. Losing the X display ends it with one line on stderr and status 1,
# never by a signal (a core dump) and never by hanging.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

e2e_start_display

start() {
  e2e_start_program "$program"
  WID=$(e2e_wait_window mehrfachspalt)
  [ -n "$WID" ] || e2e_fail "no window named mehrfachspalt"
}

# Keys of every kind but the one that ends the program, typed without pause.
flood() {
  xdotool windowfocus --sync "$WID" 2>/dev/null
  for _ in $(seq 40); do
    xdotool key --delay 0 8 2 9 3 5 4 6 7 1 g k a i m w Up Down Left Right 2>/dev/null || return
  done
}

start
kill -HUP "$E2E_PID"
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "SIGHUP ended the program with status $E2E_STATUS"

start
flood &
flooding=$!
sleep 0.3
e2e_close "$WID"
e2e_wait_exit
kill "$flooding" 2>/dev/null
wait "$flooding" 2>/dev/null
[ "$E2E_STATUS" = 0 ] || e2e_fail "close during a key flood: status $E2E_STATUS"

start
kill -9 "$E2E_XVFB_PID"
wait "$E2E_XVFB_PID" 2>/dev/null
E2E_XVFB_PID=""
e2e_wait_exit
[ "$E2E_STATUS" = 1 ] || e2e_fail "display lost: status $E2E_STATUS, expected 1"
[ "$(wc -l <"$E2E_DIR/stderr")" = 1 ] || e2e_fail "display lost: stderr is not one line: $(cat "$E2E_DIR/stderr")"
grep -q "display" "$E2E_DIR/stderr" || e2e_fail "display lost: $(cat "$E2E_DIR/stderr")"
echo "SIGHUP, close during a key flood: status 0; display lost: one line, status 1"
