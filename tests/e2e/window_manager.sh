#!/usr/bin/env bash
# The window under a real window manager (openbox): decorated, titled, its
# client area 640 x 480 and centred; the maximise request gives full screen
# with the picture scaled crisp, Alt+Enter brings the window back; a window
# resized from outside shows the picture between bars; the window manager's
# close ends the program with status 0.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

# Static parts of the start picture (as in commands.sh).
REGIONS="264x15+8+0 176x15+35+20 176x15+35+40 176x15+30+465 96x15+542+464 11x11+525+466"

shows_scaled() {
  # shellcheck disable=SC2086  # the regions are words
  e2e_shows_scaled "$wid" "$start" "$@" $REGIONS
}

e2e_start_display 1280x1024
e2e_start_wm openbox
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
start=$(e2e_reference 1 "")

extents=$(xprop -id "$wid" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
IFS=', ' read -r _ _ top _ <<<"$extents"
[ "${top:-0}" -gt 0 ] || e2e_fail "no title bar: frame extents '$extents'"
xprop -id "$wid" _NET_WM_NAME | grep -q '"mehrfachspalt"' || e2e_fail "the window is not titled"
e2e_wait_geometry "$wid" "320 272 640 480" ||
  e2e_fail "client area at $(e2e_geometry "$wid"), not 640x480 centred at 320 272"
shows_scaled 640x480 1 0 0 "windowed"

# The maximise button's request: full screen, the picture doubled between
# bars of 32 lines.
wmctrl -i -r "$wid" -b add,maximized_vert,maximized_horz
e2e_wait_geometry "$wid" "0 0 1280 1024" || e2e_fail "maximise gave $(e2e_geometry "$wid")"
xprop -id "$wid" _NET_WM_STATE | grep -q FULLSCREEN || e2e_fail "maximise is not full screen"
shows_scaled 1280x1024 2 0 32 "full screen"
e2e_keys "$wid" alt+Return
e2e_wait_geometry "$wid" "320 272 640 480" || e2e_fail "Alt+Enter gave $(e2e_geometry "$wid")"
shows_scaled 640x480 1 0 0 "back from full screen"

# Resized from outside: by a whole factor between bars of 20 lines ...
xdotool windowsize "$wid" 1280 1000
e2e_wait_geometry "$wid" "* * 1280 1000" || e2e_fail "resize gave $(e2e_geometry "$wid")"
shows_scaled 1280x1000 2 0 20 "1280 x 1000"

# ... and by a broken one: 933 x 700 at x 33, only palette colours (a blur
# would mix them), the picture's edge columns against the bars.
xdotool windowsize "$wid" 1000 700
e2e_wait_geometry "$wid" "* * 1000 700" || e2e_fail "resize gave $(e2e_geometry "$wid")"
edge_left=$(e2e_pixel "$start" 0 100)
edge_right=$(e2e_pixel "$start" 639 100)
e2e_wait_pixel "$wid" 33 146 "$edge_left" || e2e_fail "the picture does not start at x 33"
e2e_wait_pixel "$wid" 965 146 "$edge_right" || e2e_fail "the picture does not end at x 965"
shot="$E2E_DIR/broken.png"
e2e_screenshot "$wid" "$shot"
for xy in "32 146" "966 146" "0 0" "999 699"; do
  read -r x y <<<"$xy"
  [ "$(e2e_pixel "$shot" "$x" "$y")" = "0 0 0" ] || e2e_fail "no black bar at $x $y"
done
odd=$(convert "$shot" -unique-colors -depth 8 txt:- |
  awk -F'[(),]' 'NR > 1 { for (i = 3; i <= 5; i++) if ($i % 85 != 0) { print; break } }')
[ -z "$odd" ] || e2e_fail "blended colours in the scaled picture: $odd"

wmctrl -i -c "$wid"
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "the window manager's close gave status $E2E_STATUS"
echo "openbox: decorated, centred, maximise to full screen and back, resized crisp, closed"
