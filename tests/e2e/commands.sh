#!/usr/bin/env bash
# The program in its window, driven by keys: the start picture, the intensity
# samples, the slit count, spacing and wavelength, the help menu, single
# steps and the detector moves. Static parts of the picture are compared with
# the headless picture of the same keys; moving parts by known pixels.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

HEADING=264x15+8+0  # the heading after its first cell, which the first frame touches
SPACING=176x15+35+20
WAVELENGTH=176x15+35+40
HINT=176x15+30+465
CREDIT=96x15+542+464
MARK=11x11+525+466
MENU=440x100+30+375

e2e_start_display
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"

start=$(e2e_reference 1 "")
for region in $HEADING $SPACING $WAVELENGTH $HINT $CREDIT $MARK; do
  e2e_wait_region "$wid" "$start" "$region" || e2e_fail "start picture differs in $region"
done

# The help menu: seven lines over the bottom, and away again.
e2e_keys "$wid" m
e2e_wait_region "$wid" "$(e2e_reference 2 m)" "$MENU" || e2e_fail "m shows no help menu"
e2e_keys "$wid" m
e2e_wait_region "$wid" "$start" "$MENU" || e2e_fail "the second m leaves the menu"

# Spacing and wavelength: 100 and 25, 2 and 0.5, back to 20 and 5.
for keys in a aa aaa; do
  e2e_keys "$wid" a
  reference=$(e2e_reference 4 "$keys")
  e2e_wait_region "$wid" "$reference" "$SPACING" || e2e_fail "spacing label after $keys"
  e2e_wait_region "$wid" "$reference" "$WAVELENGTH" || e2e_fail "wavelength label after $keys"
done

# Intensity samples: the detector line moves to x 480 and the sample of
# row 218 fills x 611..639 in colour 12.
e2e_keys "$wid" i
light_red=$(e2e_pixel "$(e2e_reference 2 i)" 620 218)
red=$(e2e_pixel "$start" 560 100)
e2e_wait_pixel "$wid" 611 218 "$light_red" || e2e_fail "no intensity sample on row 218"
e2e_wait_pixel "$wid" 639 218 "$light_red" || e2e_fail "the sample does not reach x 639"
e2e_wait_pixel "$wid" 480 100 "$red" || e2e_fail "the detector line is not at x 480"

# The cursor keys and the numeric keypad move the detector: each new row
# gets its sample, each new column the detector line.
e2e_keys "$wid" Up
e2e_wait_pixel "$wid" 620 217 "$light_red" || e2e_fail "Up did not move the detector point"
e2e_keys "$wid" KP_Up
e2e_wait_pixel "$wid" 620 216 "$light_red" || e2e_fail "keypad 8 did not move the detector point"
e2e_keys "$wid" Left
e2e_wait_pixel "$wid" 479 100 "$red" || e2e_fail "Left did not move the detector line"
e2e_keys "$wid" KP_Left
e2e_wait_pixel "$wid" 478 100 "$red" || e2e_fail "keypad 4 did not move the detector line"

# Eight slits: the heading shows 8 and the barrier has eight openings.
e2e_keys "$wid" g g g g g g
e2e_wait_region "$wid" "$(e2e_reference 7 gggggg)" "$HEADING" || e2e_fail "the heading does not show 8"
shot="$E2E_DIR/eight.png"
e2e_screenshot "$wid" "$shot"
brown=$(e2e_pixel "$start" 25 100)
for y in 178 198 218 238 258 278 298 318; do
  [ "$(e2e_pixel "$shot" 26 "$y")" != "$brown" ] || e2e_fail "no opening at row $y"
done
[ "$(e2e_pixel "$shot" 26 188)" = "$brown" ] || e2e_fail "no barrier between the openings"

# Single steps: the picture stands still, each key advances one frame, and w
# resumes the animation.
still() {
  e2e_screenshot "$wid" "$E2E_DIR/a.png"
  sleep 0.3
  e2e_screenshot "$wid" "$E2E_DIR/b.png"
  e2e_same_region "$E2E_DIR/a.png" "$E2E_DIR/b.png" 640x480+0+0
}
e2e_keys "$wid" s
sleep 0.2
still || e2e_fail "the picture moves in single-step mode"
e2e_keys "$wid" x
sleep 0.2
e2e_screenshot "$wid" "$E2E_DIR/c.png"
e2e_same_region "$E2E_DIR/b.png" "$E2E_DIR/c.png" 640x480+0+0 && e2e_fail "a key did not advance a frame"
e2e_keys "$wid" w
sleep 0.2
still && e2e_fail "w did not resume the animation"

# "e" ends the program with status 0.
e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "start picture, menu, labels, samples, detector moves, slits, steps and e: as expected"
