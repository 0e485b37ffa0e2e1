#!/usr/bin/env bash
# Kept curves ("c") and projector colours ("p") as real key presses in the
# window: the legend is compared with the headless picture of the same keys,
# the kept curve and a figure by their colours on the screen.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

LEGEND=438x30+35+345  # the legend's two lines, right above the menu's place
KEYS="i{up}{up}{up}cg"

e2e_start_display
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
start=$(e2e_reference 1 "")

# The curve on and samples on rows 215..218; "c" keeps them, and "g" turns
# them into the earlier curve of two slits in a colour of its own.
e2e_keys "$wid" i
light_red=$(e2e_pixel "$(e2e_reference 2 i)" 620 218)
e2e_wait_pixel "$wid" 620 218 "$light_red" || e2e_fail "no intensity sample on row 218"
e2e_keys "$wid" Up Up Up
e2e_wait_pixel "$wid" 620 215 "$light_red" || e2e_fail "no sample on row 215"
e2e_keys "$wid" c g
kept=$(e2e_reference 7 "$KEYS")
e2e_wait_region "$wid" "$kept" "$LEGEND" || e2e_fail "the legend differs from the picture of $KEYS"
[ "$(e2e_pixel "$kept" 639 216)" = "0 170 170" ] || e2e_fail "the reference keeps no cyan curve"
e2e_wait_pixel "$wid" 639 216 "0 170 170" || e2e_fail "the kept curve is not cyan on row 216"

# Projector colours: the palette changes, so the kept curve, the legend and
# the axis change colour without a redraw; "p" again restores them.
e2e_keys "$wid" p
projector=$(e2e_reference 8 "${KEYS}p")
axis=$(e2e_pixel "$projector" 300 248)
[ "$axis" = "125 125 125" ] || e2e_fail "the reference's axis is $axis under projector colours"
e2e_wait_pixel "$wid" 300 248 "$axis" || e2e_fail "p did not darken the axis"
e2e_wait_pixel "$wid" 639 216 "28 141 149" || e2e_fail "p did not change the kept curve's colour"
e2e_wait_region "$wid" "$projector" "$LEGEND" || e2e_fail "the legend differs under projector colours"
e2e_keys "$wid" p
e2e_wait_pixel "$wid" 300 248 "$(e2e_pixel "$start" 300 248)" || e2e_fail "p again left the axis"
e2e_wait_pixel "$wid" 639 216 "0 170 170" || e2e_fail "p again left the kept curve's colour"

# "c" again forgets the kept curve and its legend.
e2e_keys "$wid" c
e2e_wait_pixel "$wid" 639 216 "255 255 255" || e2e_fail "c again left the kept curve"
e2e_wait_region "$wid" "$(e2e_reference 10 "${KEYS}ppc")" "$LEGEND" || e2e_fail "c again left the legend"

e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "kept curve, legend, projector colours and their reversal: as expected"
