#!/usr/bin/env bash
# The lesson keys in the window, pressed as real keys: the wavelength and the
# spacing on their own, the readouts and the extra keys' help lines. What
# they print is compared with the headless picture of the same keys; the
# grating's keys typed with Shift.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

SPACING=176x15+35+20
WAVELENGTH=184x15+35+40
READOUTS=320x75+35+60
# The help lines but the first one's start, which the second slit's arrow
# sweeps over at spacing 15.
HELP=440x75+30+300
HELP_FIRST=300x15+56+285
# The heading's count and words, right of the first frame's erase at (0, 0).
HEADING=256x14+8+0
WIDTH_LABEL=176x15+35+60

e2e_start_display
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
start=$(e2e_reference 1 "")
e2e_wait_region "$wid" "$start" "$WAVELENGTH" || e2e_fail "start picture differs"

# "+" on the main keyboard: wavelength 5.5. Page Down: spacing 15.
e2e_keys "$wid" plus
e2e_wait_region "$wid" "$(e2e_reference 2 +)" "$WAVELENGTH" || e2e_fail "+ shows no wavelength 5.5"
e2e_keys "$wid" Page_Down
reference=$(e2e_reference 3 "+{pgdn}")
for region in $SPACING $WAVELENGTH; do
  e2e_wait_region "$wid" "$reference" "$region" || e2e_fail "Page Down: $region differs"
done

# The readouts, and away again.
e2e_keys "$wid" r
e2e_wait_region "$wid" "$(e2e_reference 4 "+{pgdn}r")" "$READOUTS" || e2e_fail "r shows no readouts"

# The extra keys' help lines, and away again with the readouts still there.
e2e_keys "$wid" h
reference=$(e2e_reference 5 "+{pgdn}rh")
for region in $HELP $HELP_FIRST $READOUTS; do
  e2e_wait_region "$wid" "$reference" "$region" || e2e_fail "h: $region differs"
done
e2e_keys "$wid" h
e2e_wait_region "$wid" "$start" "$HELP" || e2e_fail "the second h leaves the help lines"
e2e_wait_region "$wid" "$reference" "$READOUTS" || e2e_fail "the second h takes the readouts"
e2e_keys "$wid" r
e2e_wait_region "$wid" "$start" "$READOUTS" || e2e_fail "the second r leaves the readouts"

# The keypad's "-" and "+", and Page Up: back to the start's labels.
e2e_keys "$wid" KP_Subtract
e2e_wait_region "$wid" "$start" "$WAVELENGTH" || e2e_fail "keypad - shows no wavelength 5"
e2e_keys "$wid" KP_Add
e2e_wait_region "$wid" "$(e2e_reference 2 +)" "$WAVELENGTH" || e2e_fail "keypad + shows no 5.5"
e2e_keys "$wid" Page_Up
e2e_wait_region "$wid" "$start" "$SPACING" || e2e_fail "Page Up shows no spacing 20"

# "b" four times: the width's label; Shift+b four times takes it away.
e2e_keys "$wid" b b b b
e2e_wait_region "$wid" "$(e2e_reference 4 bbbb)" "$WIDTH_LABEL" || e2e_fail "b shows no width 4"
e2e_keys "$wid" shift+b shift+b shift+b shift+b
e2e_wait_region "$wid" "$start" "$WIDTH_LABEL" || e2e_fail "B leaves the width's label"

# "t": the far field's label where the width's was, and away again.
e2e_keys "$wid" t
e2e_wait_region "$wid" "$(e2e_reference 2 t)" "$WIDTH_LABEL" || e2e_fail "t shows no far field"
e2e_keys "$wid" t
e2e_wait_region "$wid" "$start" "$WIDTH_LABEL" || e2e_fail "the second t leaves the far field"

# Shift+g and Shift+k: the grating's count, as the heading shows it.
e2e_keys "$wid" shift+g shift+g
e2e_wait_region "$wid" "$(e2e_reference 3 GG)" "$HEADING" || e2e_fail "G G shows no four slits"
e2e_keys "$wid" shift+k
e2e_wait_region "$wid" "$(e2e_reference 2 G)" "$HEADING" || e2e_fail "K shows no three slits"

e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "+, -, Page Up, Page Down, r, h, b, B, t, G and K in the window: as in the headless pictures"
