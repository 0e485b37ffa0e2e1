#!/usr/bin/env bash
# The lab view in the window, its keys pressed as real keys: "u" shows its
# labels, ruler and wall, "q" two laser lines, "z" a finer ruler, "u" the
# pixel view again. Each is compared with the headless picture of the same
# keys; then the labels in English, glyph by glyph against the English
# headless picture, which must differ from the German one.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

# The three labels at the top left; the ruler's numbers and the wall's top
# rows, above where the chain reaches from the detector on the axis.
LABELS=240x55+35+20
RULER=40x140+490+20
WALL=40x140+536+20
# The pixel view's labels.
START_LABELS=184x35+35+20


e2e_start_display
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
start=$(e2e_reference 1 "")
e2e_wait_region "$wid" "$start" "$START_LABELS" || e2e_fail "start picture differs"

# Each key, the frames its headless picture runs, and the regions it shows.
press_and_compare() {
  local key=$1 frames=$2 keys=$3 region reference
  shift 3
  e2e_keys "$wid" "$key"
  reference=$(e2e_reference "$frames" "$keys")
  for region in "$@"; do
    e2e_wait_region "$wid" "$reference" "$region" || e2e_fail "$key: $region differs"
  done
}
press_and_compare u 3 u $LABELS $RULER $WALL
press_and_compare q 4 uq $LABELS $WALL
press_and_compare z 5 uqz $LABELS $RULER $WALL
e2e_keys "$wid" u
e2e_wait_region "$wid" "$start" "$START_LABELS" || e2e_fail "the second u leaves the lab view"
e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"

german=$(e2e_reference_in "" C 3 u)
english=$(e2e_reference_in en C.UTF-8 3 u)
! e2e_same_region "$english" "$german" "$LABELS" || e2e_fail "the English labels are the German ones"
e2e_start_program env LANGUAGE=en LANG=C.UTF-8 LOCPATH="$E2E_LOCPATH" "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt in English"
e2e_keys "$wid" u
e2e_wait_region "$wid" "$english" "$LABELS" || e2e_fail "u shows no English labels"
e2e_keys "$wid" e
e2e_wait_exit
echo "u, q, z and u in the window: as in the headless pictures; the labels in English too"
