#!/usr/bin/env bash
# The program on a Wayland compositor alone (no DISPLAY): its window opens
# and shows the start picture, it animates, letters type ("g" adds slits,
# "m" shows the help menu) and "e" ends it with status 0. A window the video
# driver cannot give a surface, and a lost compositor, end it with a reason.
#
#   wayland.sh PROGRAM weston|sway
set -uo pipefail
program=$1
compositor=$2
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/wayland_harness.sh"

HEADING=264x15+8+0
HINT=176x15+30+465
MENU=440x100+30+375
SHOT="$E2E_DIR/shot.png"
PICTURE="$E2E_DIR/picture.png"

wl_start_compositor "$compositor"

# SDL's Wayland driver makes no window surface without a renderer, and
# says nothing about it.
message=$(wl_run env SDL_FRAMEBUFFER_ACCELERATION=0 timeout "$E2E_TIMEOUT" "$(wl_runnable "$program")" 2>&1 >/dev/null)
status=$?
[ "$status" -eq 1 ] || e2e_fail "a window without a surface: status $status, not 1"
expected="SDL could not open a window (the video driver gave no reason)"
[[ "$message" == *"$expected"* ]] || e2e_fail "a window without a surface: $message"

# The program's picture in a new screenshot, cut out into PICTURE; false
# while no 640 x 480 window is to be seen.
take_picture() {
  wl_screenshot "$SHOT" 2>/dev/null || return 1
  local box
  box=$(wl_find_picture "$SHOT")
  [ "${box%%+*}" = 640x480 ] || return 1
  convert "$SHOT" -crop "$box" +repage "$PICTURE"
}

# Waits until the picture shows REGION of a reference picture.
wait_region() {
  local tries=0
  until take_picture && e2e_same_region "$PICTURE" "$1" "$2"; do
    kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended: $(cat "$E2E_DIR/stderr")"
    tries=$((tries + 1))
    [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || return 1
    sleep 0.1
  done
}

wl_start_program "$program"
start=$(e2e_reference 1 "")
for region in $HEADING $HINT; do
  wait_region "$start" "$region" || e2e_fail "no start picture in $region: $(cat "$E2E_DIR/stderr")"
done

# It animates: a later picture differs from this one.
cp "$PICTURE" "$E2E_DIR/first.png"
tries=0
while take_picture && e2e_same_region "$PICTURE" "$E2E_DIR/first.png" 640x480+0+0; do
  tries=$((tries + 1))
  [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || e2e_fail "the picture does not change"
  sleep 0.1
done

# Letters type. On sway the program starts where the seat has no keyboard,
# and SDL then leaves text input off; one arrives now. Keys typed before the
# program has taken it are lost, so the seven g that make eight slits are
# typed again until the heading shows 8 (g stops at eight slits).
wl_plug_keyboard
eight=$(e2e_reference 7 gggggg)
for tries in 1 2 3 4 5; do
  wl_keys g g g g g g g
  E2E_TIMEOUT=2 wait_region "$eight" "$HEADING" && break
  [ "$tries" -lt 5 ] || e2e_fail "g does not add slits: letters do not type"
done
wl_keys m
wait_region "$(e2e_reference 8 gggggggm)" "$MENU" || e2e_fail "m shows no help menu"
wl_keys e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS: $(tail -n 40 "$E2E_DIR/stderr")"

# Losing the compositor ends the program with a reason and status 1, as
# losing the X display does, never as if it had been closed. Only on
# weston: on sway a program that starts while wtype's keyboards come and go
# meets SDL 2.26's crash in its keyboard handling.
if [ "$compositor" != weston ]; then
  echo "$compositor: window, animation, letters, e ends it; without a surface a reason and status 1"
  exit 0
fi
wl_start_program "$program"
take_picture_tries=0
until take_picture; do
  take_picture_tries=$((take_picture_tries + 1))
  [ "$take_picture_tries" -lt $((E2E_TIMEOUT * 10)) ] ||
    e2e_fail "no second window: $(wl_find_picture "$SHOT") $(cat "$E2E_DIR/stderr")"
  sleep 0.1
done
kill "$WL_COMPOSITOR_PID"
e2e_wait_exit
lost=$(grep -v plugin "$E2E_DIR/stderr")
[ "$E2E_STATUS" = 1 ] || e2e_fail "without its compositor the program ended with $E2E_STATUS: $lost"
[ "$lost" = "mehrfachspalt: lost the connection to the Wayland display" ] ||
  e2e_fail "without its compositor the program said: $lost"
echo "$compositor: window, animation, letters, e ends it; without a surface and without the" \
  "compositor a reason and status 1"
