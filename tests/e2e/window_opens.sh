#!/usr/bin/env bash
# The program's window: titled with its name, 640 x 480 client pixels, the
# white background; without a display one line on stderr and status 1.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QXGFX "$program" 2>&1 >/dev/null)
status=$?
[ "$status" -eq 1 ] || e2e_fail "without a display the status is $status, not 1"
[ -n "$message" ] || e2e_fail "without a display nothing was said on stderr"
[ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || e2e_fail "more than one line: $message"

e2e_start_display
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
geometry=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || e2e_fail "client area $geometry, not 640x480"
e2e_wait_pixel "$wid" 0 0 "255 255 255" || e2e_fail "pixel (0,0) is not white"
echo "window $wid: 640x480, pixel (0,0) white; without a display: $message"
