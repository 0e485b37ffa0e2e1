#!/usr/bin/env bash
# A held cursor key moves the detector while held and stops with its
# release: the window system's auto-repeats, faster than the frames, must not
# pile up in the key buffer and run the detector on.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

e2e_start_display
# The server repeats a held key 25 times a second, above the frame rate.
xset r on
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"

# With the curve on, every row the detector point visits keeps its sample,
# so the topmost sample is the row the detector point reached (within the
# central maximum every sample reaches x 639).
light_red=$(e2e_pixel "$(e2e_reference 2 i)" 620 218)
e2e_keys "$wid" i
e2e_wait_pixel "$wid" 620 218 "$light_red" || e2e_fail "no intensity sample on row 218"
top_sample() {
  e2e_screenshot "$wid" "$E2E_DIR/held.png"
  convert "$E2E_DIR/held.png" -crop 1x480+639+0 -depth 8 txt:- |
    awk -v want="$light_red" -F'[,:() ]+' '
      NR > 1 { if ($3 " " $4 " " $5 == want) { print $2; exit } }'
}

xdotool windowfocus --sync "$wid" keydown Up
sleep 1.5
xdotool keyup Up
released=$(top_sample)
sleep 1
settled=$(top_sample)
[ -n "$released" ] && [ -n "$settled" ] || e2e_fail "no sample found on column 620"
moved=$((218 - settled))
overshoot=$((released - settled))
[ "$moved" -ge 10 ] || e2e_fail "held for 1.5 s the detector moved only $moved rows"
# One press may still wait when the key goes up, and one frame may be on its
# way to the window when the picture is taken.
[ "$overshoot" -le 2 ] || e2e_fail "the detector ran on $overshoot rows after the release"

e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "held Up moved the detector $moved rows and it ran on $overshoot after the release"
