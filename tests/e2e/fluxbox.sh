#!/usr/bin/env bash
# Under fluxbox, which hands a window leaving full screen back a little
# taller: four Alt+Enter round trips leave the client area 640 x 480 where it
# was, centred; the maximise request gives full screen too.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

e2e_start_display 1280x1024
e2e_start_wm fluxbox
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
e2e_wait_geometry "$wid" "320 272 640 480" ||
  e2e_fail "client area at $(e2e_geometry "$wid"), not 640x480 centred at 320 272"

for trip in 1 2 3 4; do
  e2e_keys "$wid" alt+Return
  e2e_wait_geometry "$wid" "0 0 1280 1024" ||
    e2e_fail "round trip $trip: full screen is $(e2e_geometry "$wid")"
  e2e_keys "$wid" alt+Return
  e2e_wait_geometry "$wid" "320 272 640 480" ||
    e2e_fail "round trip $trip: back at $(e2e_geometry "$wid"), not 640x480 at 320 272"
done

wmctrl -i -r "$wid" -b add,maximized_vert,maximized_horz
e2e_wait_geometry "$wid" "0 0 1280 1024" || e2e_fail "maximise gave $(e2e_geometry "$wid")"
e2e_keys "$wid" alt+Return
e2e_wait_geometry "$wid" "320 272 640 480" || e2e_fail "back from maximise at $(e2e_geometry "$wid")"

e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "fluxbox: four round trips and a maximise, each back at 640x480 centred"
