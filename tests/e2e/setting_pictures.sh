#!/usr/bin/env bash
# A setting given as text draws what the keys that reach it draw: the
# snapshot tool types the keys and "x", which prints the setting's text, and
# the frames after it must be the frames --setting with that text gives,
# pixel for pixel. The keys leave no history in the picture: after the
# detector's moves, the field's key ("t") redraws the scene before the
# texts and views come. Only the pixel at (0, 0) is history that no key
# avoids: the first frame leaves it white, and a label printed after a
# frame black; a setting opens before the first frame.
set -uo pipefail
snapshot=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
AFTER=10 # frames after "x"

# name | keys before "x" | what the text holds
count=0
while IFS='|' read -r name keys holds; do
  [ -z "$name" ] && continue
  # A cursor key's name is one key, as the tool splits them.
  typed=$(sed -E 's/\{[a-z]+\}/K/g' <<<"$keys")
  frames=$((${#typed} + 1 + AFTER))
  text=$(timeout 20 "$snapshot" --frames "$frames" --keys "${keys}x" "$dir/keys.png") ||
    fail "$name: the keys ${keys}x ended with $?"
  case "$text" in
    *"$holds"*) ;;
    *) fail "$name: \"x\" printed \"$text\", which lacks \"$holds\"" ;;
  esac
  timeout 20 "$snapshot" --frames "$AFTER" --setting "$text" "$dir/setting.png" ||
    fail "$name: --setting $text ended with $?"
  for picture in keys setting; do
    convert "$dir/$picture.png" -fill black -draw "point 0,0" "$dir/$picture-masked.png" ||
      fail "$name: $picture.png does not decode"
  done
  differing=$(compare -metric AE "$dir/keys-masked.png" "$dir/setting-masked.png" null: 2>&1)
  [ "$differing" = 0 ] ||
    fail "$name: --setting $text draws $differing pixels otherwise than ${keys}x"
  count=$((count + 1))
done <<TABLE
start||v1,phase=
three slits|gtt|slits=3
eight slits, point up|gggggg{up}{up}{up}tt|slits=8
wavelength up|+++tt|wavelength=7
wavelength down, spacing up|---{pgup}{pgup}tt|spacing=30
a once|att|spacing=100
a twice|aatt|wavelength=0.5
a from the smallest spacing|{pgdn}{pgdn}{pgdn}{pgdn}{pgdn}{pgdn}{pgdn}{pgdn}{pgdn}att|wavelength=50
one wide slit|kbbbbtt|width=4
three slits far|ggbbbt|field=far
grating|GGGGGGGGGtt|slits=16
curve|itt|curve=on
curve, point up|i{up}{up}{up}{up}{up}tt|detector=35
line on the barrier|7tt|line=25
line to the left|44444tt|line=555
readouts|ttr|readouts=on
menu|ttm|menu=on
help lines|tth|help=on
waves|ttf|view=waves
intensity in space|ttff|view=intensity
projector|ttp|projector=on
together|g+ttrmh|help=on
wide slits in waves|bb{up}{up}ttfp|projector=on
TABLE
echo "$count settings as text draw what their keys draw"
