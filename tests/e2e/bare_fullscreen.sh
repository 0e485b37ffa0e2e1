#!/usr/bin/env bash
# Full screen on an X server without a window manager (kiosks, projectors):
# Alt+Enter fills the screen with the whole picture scaled, its bottom-right
# corner included, and brings the 640 x 480 window back.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

# Static parts of the start picture, the bottom-right corner's last.
REGIONS="264x15+8+0 176x15+35+20 176x15+30+465 96x15+542+464 11x11+525+466"

shows_scaled() {
  # shellcheck disable=SC2086  # the regions are words
  e2e_shows_scaled "$wid" "$start" "$@" $REGIONS
}

e2e_start_display 1280x1024
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
start=$(e2e_reference 1 "")
e2e_wait_geometry "$wid" "320 272 640 480" || e2e_fail "the window is at $(e2e_geometry "$wid")"

for trip in 1 2; do
  e2e_keys "$wid" alt+Return
  e2e_wait_geometry "$wid" "0 0 1280 1024" || e2e_fail "full screen is $(e2e_geometry "$wid")"
  shows_scaled 1280x1024 2 0 32 "full screen $trip"
  e2e_keys "$wid" alt+Return
  e2e_wait_geometry "$wid" "320 272 640 480" || e2e_fail "back at $(e2e_geometry "$wid")"
  shows_scaled 640x480 1 0 0 "back from full screen $trip"
done

e2e_close "$wid"
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "the close request gave status $E2E_STATUS"
echo "bare server: full screen fills the screen with the whole picture, twice, and back"
