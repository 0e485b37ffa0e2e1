#!/usr/bin/env bash
# The wave picture in the window, pressed as a real key: "f" fills the room
# between the barrier and the detector line with the waves, which move from
# frame to frame; the intensity in space stands still; a third "f" leaves the
# picture without a trace of them.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

# Below the rays and above the help menu's place: only the picture is here.
CLEAR=300x100+100+300

e2e_start_display
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
start=$(e2e_reference 1 "")
e2e_wait_region "$wid" "$start" "$CLEAR" || e2e_fail "start picture differs"

e2e_keys "$wid" f
tries=0
until e2e_screenshot "$wid" "$E2E_DIR/one.png" 2>/dev/null &&
  ! e2e_same_region "$E2E_DIR/one.png" "$start" "$CLEAR"; do
  tries=$((tries + 1))
  [ "$tries" -lt $((E2E_TIMEOUT * 10)) ] || e2e_fail "f shows no waves"
  sleep 0.1
done
# Three tenths of a second later the phase has turned by six tenths.
sleep 0.3
e2e_screenshot "$wid" "$E2E_DIR/two.png" || e2e_fail "no second screenshot"
e2e_same_region "$E2E_DIR/one.png" "$E2E_DIR/two.png" "$CLEAR" && e2e_fail "the waves stand still"

# The intensity in space: still from one screenshot to the next.
e2e_keys "$wid" f
sleep 0.3
e2e_screenshot "$wid" "$E2E_DIR/three.png" || e2e_fail "no third screenshot"
sleep 0.3
e2e_screenshot "$wid" "$E2E_DIR/four.png" || e2e_fail "no fourth screenshot"
e2e_same_region "$E2E_DIR/three.png" "$E2E_DIR/four.png" "$CLEAR" || e2e_fail "the intensity moves"
e2e_same_region "$E2E_DIR/three.png" "$start" "$CLEAR" && e2e_fail "f shows no intensity"

# Off: the specified picture again, its labels and its empty room.
e2e_keys "$wid" f
e2e_wait_region "$wid" "$start" "$CLEAR" || e2e_fail "the third f leaves the picture"
e2e_wait_region "$wid" "$start" 184x35+35+20 || e2e_fail "the third f leaves the labels changed"

e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "f in the window: moving waves, the intensity standing still, and off without a trace"
