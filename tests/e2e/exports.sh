#!/usr/bin/env bash
# The snapshot tool's exports: the animated GIF (frames, timing, loop, and
# frames equal to the PNG pictures of the same frame numbers), the curve of
# a sweep as CSV, and files that cannot be written.
set -uo pipefail
snapshot=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
run() {
  timeout 60 "$snapshot" "$@" 2>err || fail "mehrfachspalt-snapshot $* ended with $?: $(cat err)"
}

# Ten seconds of the start picture: 200 frames of 5 hundredths, looping.
run --animate start.gif --frames 200
[ "$(identify start.gif | wc -l)" = 200 ] || fail "start.gif has $(identify start.gif | wc -l) frames"
[ "$(identify -format '%T\n' start.gif | sort -u)" = 5 ] || fail "start.gif: delays other than 5"
identify -verbose 'start.gif[0]' | grep -q 'Iterations: 0' || fail "start.gif does not loop for ever"
[ "$(identify -format '%W %H\n' start.gif | sort -u)" = "640 480" ] || fail "start.gif is not 640 x 480"
echo "200 frames of the start picture: $(stat -c %s start.gif) bytes"

# Keys, and single steps whose keys run out: the picture then stands. A
# frame of the animation is what the window shows, the frame drawn before its
# key is handled: the PNG of as many frames with the keys before that frame's.
# In frame 7 "s" starts single steps and the wait takes "{down}"; the keys
# have run out, no frame follows, and the animation stands at frame 7.
keys="gi{up}{up}a{left}s{down}"
run --animate keys.gif --frames 12 --keys "$keys"
convert keys.gif -coalesce frame%02d.png || fail "keys.gif does not decode"
before=("" g gi "gi{up}" "gi{up}{up}" "gi{up}{up}a" "gi{up}{up}a{left}")
for k in $(seq 1 12); do
  typed=${before[$((k <= 7 ? k - 1 : 6))]}
  frames=$((k <= 7 ? k : 7))
  if [ -n "$typed" ]; then run --frames "$frames" --keys "$typed" shot.png; else run --frames 1 shot.png; fi
  differing=$(compare -metric AE shot.png "frame$(printf %02d $((k - 1))).png" null: 2>&1)
  [ "$differing" = 0 ] || fail "frame $k of keys.gif differs from its PNG in $differing pixels"
done

# Projector colours and the wave picture's shades: every frame in its own
# colours, so the last equals the PNG of the same frames colour for colour.
run --animate colours.gif --frames 30 --keys pf colours.png
convert colours.gif -coalesce colours%02d.png || fail "colours.gif does not decode"
differing=$(compare -metric AE colours.png colours29.png null: 2>&1)
[ "$differing" = 0 ] || fail "the last frame of colours.gif differs from its PNG in $differing pixels"

# The whole curve of the start setting, drawn at x 480 where "i" puts it.
run --sweep --curve curve.csv
[ "$(head -n 1 curve.csv)" = "row,offset,length,intensity" ] || fail "curve.csv header: $(head -n 1 curve.csv)"
[ "$(wc -l <curve.csv)" = 481 ] || fail "curve.csv has $(wc -l <curve.csv) lines, not 480 rows and a header"
awk -F, '$2 == 30 { found = 1; if ($1 != 218 || $3 != 29 || sprintf("%.2f", $4) != "29.37") exit 1 }
         END { exit !found }' curve.csv || fail "row 218 of curve.csv: $(grep '^218,' curve.csv)"

# A file is replaced whole; a name in the way of the partial file is not
# written through.
echo old >replaced.csv
echo precious >victim
ln -s victim shot.png.partial
run --curve replaced.csv shot.png
[ "$(head -n 1 replaced.csv)" = "row,offset,length,intensity" ] || fail "replaced.csv not replaced"
[ "$(cat victim)" = precious ] || fail "the link beside shot.png was written through"
[ "$(head -c 4 shot.png | tail -c 3)" = PNG ] || fail "shot.png not written"
rm -f shot.png.partial victim

# Files that cannot be written: one line, status 1, nothing left behind.
mkdir folder
# arguments | file size limit in KiB (none: unlimited) | what the message says
while IFS='|' read -r args limit message; do
  rm -rf left && mkdir left && cd left || exit 1
  # Writing past the limit fails with EFBIG, as a full disk fails with ENOSPC.
  # shellcheck disable=SC2086
  (trap '' XFSZ; ulimit -f "${limit:-unlimited}"; exec timeout 60 "$snapshot" $args 2>../err)
  status=$?
  cd .. || exit 1
  [ "$status" = 1 ] || fail "$args (limit $limit): status $status: $(cat err)"
  [ "$(wc -l <err)" = 1 ] && grep -qF "$message" err || fail "$args: message \"$(cat err)\""
  [ -z "$(ls -A left)" ] || fail "$args: left $(ls -A left) behind"
done <<TABLE
--animate big.gif --frames 200|40|cannot write big.gif: File too large
--frames 3 shot.png|2|cannot write shot.png: File too large
--sweep --curve curve.csv|4|cannot write curve.csv: File too large
--animate $dir/missing/a.gif|| No such file or directory
--curve $dir/missing/c.csv|| No such file or directory
$dir/missing/p.png|| No such file or directory
--curve $dir/folder|| Is a directory
TABLE
echo "animations, curves and failed writes behave"
