#!/usr/bin/env bash
# Every way out ends the program with status 0: the close request, also in
# single-step mode, and SIGTERM and SIGINT (taken as the close request).
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

e2e_start_display

quit_with() {
  e2e_start_program "$program"
  local wid
  wid=$(e2e_wait_window mehrfachspalt)
  [ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
  "$@" "$wid"
  e2e_wait_exit
  [ "$E2E_STATUS" = 0 ] || e2e_fail "$* ended the program with status $E2E_STATUS"
}

close_request() { e2e_close "$1"; }
close_while_stepping() {
  e2e_keys "$1" s
  sleep 0.2
  e2e_close "$1"
}
terminate() { kill -TERM "$E2E_PID"; }
interrupt() { kill -INT "$E2E_PID"; }

quit_with close_request
quit_with close_while_stepping
quit_with terminate
quit_with interrupt
echo "close request, close while stepping, SIGTERM and SIGINT: status 0"
