#!/usr/bin/env bash
# The detector under the pointer, in the window and scaled to full screen;
# a press in the bars beside the picture changes nothing; the title says
# when the program waits for a key per frame.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

RED="170 0 0"
WHITE="255 255 255"
LIGHT_GREEN="85 255 85"
LIGHT_RED="255 85 85"
SHOT="$E2E_DIR/shot.png"

# Rows 0..479 of column x that show the colour, from one screenshot.
rows_with() {
  e2e_screenshot "$wid" "$SHOT"
  convert "$SHOT" -crop "1x480+$1+0" -depth 8 txt:- |
    awk -v want="$2" -v from="$3" -v to="$4" 'NR > 1 {
      split($1, at, "[,:]"); y = at[2]
      gsub(/[()]/, "", $2); split($2, c, ",")
      if (y >= from && y <= to && c[1] " " c[2] " " c[3] == want) n++
    } END { print n + 0 }'
}

e2e_start_display 1280x1024
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
e2e_wait_pixel "$wid" 560 30 "$RED" || e2e_fail "no detector line at 560"

# A press moves the detector line to the pointer's column and the point
# (where the chain starts) to its row; a drag takes both along.
xdotool mousemove --window "$wid" 300 100 mousedown 1
e2e_wait_pixel "$wid" 300 30 "$RED" || e2e_fail "the press moved no detector line to 300"
e2e_wait_pixel "$wid" 560 30 "$WHITE" || e2e_fail "the line at 560 stayed"
e2e_wait_pixel "$wid" 300 100 "$LIGHT_GREEN" || e2e_fail "the chain does not start at 300, 100"
xdotool mousemove --window "$wid" 350 150
e2e_wait_pixel "$wid" 350 30 "$RED" || e2e_fail "the drag moved no detector line to 350"
e2e_wait_pixel "$wid" 350 150 "$LIGHT_GREEN" || e2e_fail "the chain does not start at 350, 150"
xdotool mouseup 1

# With the curve on, a drag from row 100 to row 300 samples every row it
# passed at the right edge (a row at a minimum may be too dark to light a
# pixel), and none below.
e2e_keys "$wid" i
e2e_wait_pixel "$wid" 270 30 "$RED" || e2e_fail "i moved no detector line by 80"
xdotool mousemove --window "$wid" 480 100 mousedown 1
e2e_wait_pixel "$wid" 480 100 "$LIGHT_GREEN" || e2e_fail "no detector point at 480, 100"
xdotool mousemove --window "$wid" 480 300
e2e_wait_pixel "$wid" 480 300 "$LIGHT_GREEN" || e2e_fail "no detector point at 480, 300"
xdotool mouseup 1
sampled=$(rows_with 639 "$LIGHT_RED" 100 300)
[ "$sampled" -ge 150 ] || e2e_fail "only $sampled of the rows 100..300 have a sample"
below=$(rows_with 639 "$LIGHT_RED" 320 479)
[ "$below" -eq 0 ] || e2e_fail "$below rows below the drag have a sample"

# Single steps: the title says so, and no more once it runs on.
e2e_keys "$wid" s
until [ "$(xdotool getwindowname "$wid")" = "mehrfachspalt – Einzelschritt" ]; do
  tries=$((${tries:-0} + 1))
  [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || e2e_fail "title in single steps: $(xdotool getwindowname "$wid")"
  sleep 0.1
done
e2e_keys "$wid" w
tries=0
until [ "$(xdotool getwindowname "$wid")" = "mehrfachspalt" ]; do
  tries=$((tries + 1))
  [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || e2e_fail "title after w: $(xdotool getwindowname "$wid")"
  sleep 0.1
done

# Full screen on a 1280 x 1024 display: the picture twice its size at
# 0, 32; a press at window pixel (401, 333) is picture pixel (200, 150).
e2e_keys "$wid" alt+Return
e2e_wait_geometry "$wid" "0 0 1280 1024" || e2e_fail "no full screen: $(e2e_geometry "$wid")"
xdotool mousemove --window "$wid" 401 333 mousedown 1 mouseup 1
e2e_wait_pixel "$wid" 401 $((32 + 60)) "$RED" || e2e_fail "the press in full screen moved no line to 200"
e2e_wait_pixel "$wid" 401 333 "$LIGHT_GREEN" || e2e_fail "no detector point at 200, 150 in full screen"
# In the bar above the picture: nothing moves.
xdotool mousemove --window "$wid" 900 10 mousedown 1
sleep 0.3
xdotool mouseup 1
e2e_wait_pixel "$wid" 401 92 "$RED" || e2e_fail "a press in the bar moved the detector line"
[ "$(e2e_pixel "$SHOT" 900 92)" != "$RED" ] || e2e_fail "a press in the bar moved the line to 450"
e2e_screenshot "$wid" "$SHOT"
[ "$(e2e_pixel "$SHOT" 901 92)" != "$RED" ] || e2e_fail "a press in the bar moved the line to 450"

e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "pointer: press and drag move the detector, in the window and full screen; the bars do nothing; the title tells single steps"
