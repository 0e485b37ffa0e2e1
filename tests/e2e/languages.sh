#!/usr/bin/env bash
# The window in the desktop's language: started with LANGUAGE=en LANG=C.UTF-8
# it shows the English help menu on "m" and the English single-step note in
# its title on "s"; with LANG=fr_FR.UTF-8 (generated for
# the tests into E2E_LOCPATH) the French one. Each is compared with the
# headless picture in the same language, which must differ from the German
# one there. The snapshot tool's curve keeps its decimal point in French.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

# The help menu's seven lines and the bottom line's hint under the last.
MENU=464x105+30+375


german=$(e2e_reference_in "" C 2 m)

# The window with LANGUAGE and LANG as given shows the help menu of the
# snapshot tool in the same language, and its title the single-step note:
# WHAT LANGUAGE LANG TITLE.
menu_in_window() {
  local what=$1 reference wid tries=0
  reference=$(e2e_reference_in "$2" "$3" 2 m)
  ! e2e_same_region "$reference" "$german" "$MENU" || e2e_fail "the menu in $what is the German one"
  e2e_start_program env LANGUAGE="$2" LANG="$3" LOCPATH="$E2E_LOCPATH" "$program"
  wid=$(e2e_wait_window mehrfachspalt)
  [ -n "$wid" ] || e2e_fail "no window named mehrfachspalt in $what"
  e2e_keys "$wid" m
  e2e_wait_region "$wid" "$reference" "$MENU" || e2e_fail "m shows no help menu in $what"
  e2e_keys "$wid" s
  until [ "$(xdotool getwindowname "$wid")" = "$4" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || e2e_fail "the title in $what: $(xdotool getwindowname "$wid")"
    sleep 0.1
  done
  e2e_close "$wid"
  e2e_wait_exit
  [ "$E2E_STATUS" = 0 ] || e2e_fail "the window in $what ended with $E2E_STATUS"
}

e2e_start_display
menu_in_window English en C.UTF-8 "mehrfachspalt – single step"
menu_in_window French "" fr_FR.UTF-8 "mehrfachspalt – pas à pas"

# Numbers keep their point in the French curve, as the German one has it.
env LANG=fr_FR.UTF-8 LOCPATH="$E2E_LOCPATH" "$E2E_SNAPSHOT" --sweep --curve "$E2E_DIR/fr.csv" ||
  e2e_fail "no curve in French"
env LANG=C "$E2E_SNAPSHOT" --sweep --curve "$E2E_DIR/de.csv" || e2e_fail "no curve in German"
cmp -s "$E2E_DIR/fr.csv" "$E2E_DIR/de.csv" || e2e_fail "the French curve differs from the German"
grep -q '\.' "$E2E_DIR/fr.csv" || e2e_fail "the curve has no decimal point"
echo "languages: English and French help menus in the window, the curve's numbers unchanged"
