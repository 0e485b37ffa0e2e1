#!/usr/bin/env bash
# Nothing vanishes while a key is held: each key erases the rays, the axis
# and the resultant (and "+" the whole scene), and the next frame draws them
# again; the window shows only whole frames. Screenshots every 0.1 s while
# the left cursor key is held for 2 s and "+" for 1 s: the detector line, the
# axis and both rays in every one.
set -uo pipefail
program=$1
source "$(dirname "$0")/harness.sh"

e2e_start_display
# The server repeats a held key 25 times a second, about a key a frame.
xset r on
e2e_start_program "$program"
wid=$(e2e_wait_window mehrfachspalt)
[ -n "$wid" ] || e2e_fail "no window named mehrfachspalt"
# The start picture's detector line, red at x 560.
e2e_wait_pixel "$wid" 560 100 "170 0 0" || e2e_fail "no detector line at x 560"

# Count of pixels of colour HEX in the rectangle WxH+X+Y of FILE.
count() {
  convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Screenshots every 0.1 s while KEY is held for SECONDS, named PREFIX-NN.png.
hold() {
  local key=$1 seconds=$2 prefix=$3 i
  xdotool windowfocus --sync "$wid" keydown "$key"
  for i in $(seq -w 1 $((seconds * 10))); do
    e2e_screenshot "$wid" "$E2E_DIR/$prefix-$i.png"
    sleep 0.1
  done
  xdotool keyup "$key"
}

hold Left 2 left
hold plus 1 plus

leftmost=560
for shot in "$E2E_DIR"/left-*.png "$E2E_DIR"/plus-*.png; do
  name=$(basename "$shot")
  # The detector line: the column whose rows 40..439 are mostly its red (the chain may run along it).
  line=$(convert "$shot" -crop 640x400+0+40 +repage -fill black +opaque '#AA0000' \
    -fill white -opaque '#AA0000' -scale '640x1!' -depth 8 txt:- |
    awk -F'[,:() ]+' 'NR > 1 && $4 >= 200 { print $1; exit }')
  [ -n "$line" ] || e2e_fail "$name: no detector line"
  [ "$line" -lt "$leftmost" ] && leftmost=$line
  span=$((line - 40))
  # The axis, grey on row 248 from the barrier to the line.
  axis=$(count "$shot" "${span}x1+35+248" '#AAAAAA')
  [ "$axis" -ge $((span * 9 / 10)) ] || e2e_fail "$name: the axis has $axis of $span pixels"
  # The rays from the slits to the detector point, green and dark blue.
  for ray in '#55FF55' '#0000AA'; do
    got=$(count "$shot" "${span}x120+35+180" "$ray")
    [ "$got" -ge $((span * 9 / 10)) ] || e2e_fail "$name: the ray $ray has $got pixels over $span columns"
  done
done
moved=$((560 - leftmost))
[ "$moved" -ge 10 ] || e2e_fail "held for 2 s the detector line moved only $moved columns"

e2e_keys "$wid" e
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "e ended the program with status $E2E_STATUS"
echo "30 screenshots with the line, the axis and the rays; the line moved $moved columns"
