#!/usr/bin/env bash
# The detector's tone in the window, under SDL's disk audio driver, which
# writes what the program plays into a file (48 kHz, 16-bit, mono): a steady
# level on the axis, 0.76 of it 30 rows up (the start), silence at the
# double slit's first minimum. A device lost while playing (writes to
# /dev/full fail) gives one line on standard error, and the program runs on
# and ends as always.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

# The RMS of the last 100 ms written, once the glide and the device's
# buffers have passed.
level() {
  sleep 0.6
  tail -c 9600 "$raw" | od -An -v -t d2 -w2 |
    awk '{ s += $1 * $1; n++ } END { if (n < 4800) print -1; else printf "%.1f\n", sqrt(s / n) }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", a / b }'; }

# The first minimum of two slits 20 apart at a wavelength of 5, 535 away:
# the row offset whose paths differ most nearly by half a wavelength.
minimum=$(awk 'BEGIN {
  best = 0; least = 2
  for (o = 40; o <= 100; o++) {
    d = sqrt(535 ^ 2 + (o + 10) ^ 2) - sqrt(535 ^ 2 + (o - 10) ^ 2)
    a = cos(3.14159265358979 * d / 5); if (a < 0) a = -a
    if (a < least) { least = a; best = o }
  }
  print best }')

e2e_start_display
raw="$E2E_DIR/tone.raw"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$raw"
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
[ ! -s "$raw" ] || e2e_fail "sound before the tone was switched on"
e2e_keys "$wid" l
up30=$(level)
e2e_keys "$wid" 5
axis=$(level)
awk -v a="$axis" 'BEGIN { exit !(a > 1000) }' || e2e_fail "no steady level on the axis: $axis"
again=$(level)
[ "$(ratio "$again" "$axis" | cut -c1-4)" = "1.00" ] || e2e_fail "the level on the axis is not steady: $axis, $again"
r=$(ratio "$up30" "$axis")
awk -v r="$r" 'BEGIN { exit !(r > 0.74 && r < 0.78) }' || e2e_fail "30 rows up: $r of the axis's level, not 0.76"
# The pointer takes the detector to the minimum's row on its line.
xdotool mousemove --window "$wid" 560 $((248 - minimum)) click 1
quiet=$(ratio "$(level)" "$axis")
awk -v r="$quiet" 'BEGIN { exit !(r < 0.02) }' || e2e_fail "at the first minimum ($minimum rows up): $quiet of the axis's level"
e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"

# The device lost while playing.
export SDL_DISKAUDIOFILE=/dev/full
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt (lost device)"
e2e_keys "$wid" l
tries=0
until grep -q "mehrfachspalt: no sound: the audio device was lost" "$E2E_DIR/stderr"; do
  tries=$((tries + 1))
  [ "$tries" -lt 100 ] || e2e_fail "no line on stderr for the lost device: $(cat "$E2E_DIR/stderr")"
  sleep 0.05
done
e2e_keys "$wid" l l l
sleep 0.5
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended after the device was lost"
e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS after a lost device"
[ "$(grep -c '^mehrfachspalt: no sound' "$E2E_DIR/stderr")" -ge 1 ] || e2e_fail "no line of ours"
echo "tone: steady on the axis, 0.76 of it 30 rows up ($r), silent at the first minimum ($quiet); a lost device said in one line"
