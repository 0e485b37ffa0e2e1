#!/usr/bin/env bash
# The options of both programs: --help and --version answer on standard
# output with status 0 and open no window (there is no display here, and
# trying would end with 1); any other argument is named in one line on
# standard error with the usage, status 2.
set -uo pipefail
program=$1 snapshot=$2 version=$3
unset DISPLAY WAYLAND_DISPLAY QXGFX
dir=$(mktemp -d)
work=$dir/work # where the tools run: nothing may be left there
mkdir "$work"
trap 'rm -rf "$dir"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# command | arguments | status | what standard output starts with | what standard error holds
while IFS='|' read -r tool args status out err; do
  [ -z "$tool" ] && continue
  binary=$program
  [ "$tool" = snapshot ] && binary=$snapshot
  # shellcheck disable=SC2086
  (cd "$work" && timeout 10 "$binary" $args >"$dir/out" 2>"$dir/err")
  got=$?
  what="$(basename "$binary") $args"
  [ "$got" = "$status" ] || fail "$what: status $got, not $status ($(head -c 300 "$dir/err"))"
  if [ -n "$out" ]; then
    [ "$(head -c ${#out} "$dir/out")" = "$out" ] || fail "$what: printed \"$(head -n1 "$dir/out")\""
    [ -s "$dir/err" ] && fail "$what: wrote to standard error"
  else
    [ -s "$dir/out" ] && fail "$what: wrote to standard output"
    [ "$(wc -l <"$dir/err")" = 1 ] || fail "$what: $(wc -l <"$dir/err") lines on standard error"
    grep -qF -- "$err" "$dir/err" || fail "$what: \"$(cat "$dir/err")\" lacks \"$err\""
    case "$err" in
      setting:*) ;;
      *) grep -qF "(usage: " "$dir/err" || fail "$what: no usage in \"$(cat "$dir/err")\"" ;;
    esac
  fi
  [ -z "$(ls -A "$work")" ] || fail "$what: left $(ls -A "$work")"
done <<TABLE
program|--version|0|mehrfachspalt $version

program|--help|0|Usage: mehrfachspalt [--help | --version | --setting TEXT]|
program|--setting|2||--setting needs a text
program|--setting v1 v1|2||unknown argument "v1"
program|--setting v1,width=7|2||setting: width=7 is not one of 0, 1, 2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50, 60
program|--setting slits=3|2||setting: the text starts with its version, v1, not "slits=3"
program|--frames 3|2||unknown argument "--frames"
program|-h|2||unknown argument "-h"
program|picture.png|2||unknown argument "picture.png"
program|--help --version|2||unknown argument "--version"
snapshot|--version|0|mehrfachspalt-snapshot $version

snapshot|--help|0|Usage: mehrfachspalt-snapshot|
snapshot|--frames 3 --help|0|Usage: mehrfachspalt-snapshot|
snapshot||2||no output file given
snapshot|--bogus x.png|2||unknown option --bogus
snapshot|x.png y.png|2||only one output file can be given
snapshot|--frames|2||--frames needs a number
snapshot|x.png --frames|2||--frames needs a number
snapshot|--frames 0 x.png|2||not "0"
snapshot|--frames -5 x.png|2||not "-5"
snapshot|--frames 1000001 x.png|2||not "1000001"
snapshot|--frames 99999999999999999999 x.png|2||not "99999999999999999999"
snapshot|--frames 2x x.png|2||not "2x"
snapshot|--frames 2 --frames 3 x.png|2||--frames given twice
snapshot|--keys g --keys k x.png|2||--keys given twice
snapshot|--keys|2||--keys needs a text
snapshot|--keys ge x.png|2||cannot contain "e"
snapshot|--animate|2||--animate needs a file name
snapshot|--animate --frames 3|2||--animate needs a file name, not --frames
snapshot|--animate a.gif --animate b.gif|2||--animate given twice
snapshot|--animate a.gif --frames 12001|2||at most 12000 frames
snapshot|--curve|2||--curve needs a file name
snapshot|--curve a.csv --curve b.csv|2||--curve given twice
snapshot|--sweep --sweep x.png|2||--sweep given twice
snapshot|--setting|2||--setting needs a text
snapshot|--setting v1 --setting v1 x.png|2||--setting given twice
snapshot|--setting v1,slits=2,width=20 x.png|2||setting: width=20 is not one of 0, 1, 2, 3, 4, 5, 6, 8, 10, 12, 15 (with several slits it stays below spacing=20)
snapshot|--sweep|2||no output file given
snapshot|--animate x.out x.out|2||one file cannot take two outputs
snapshot|--curve x.out --animate x.out|2||one file cannot take two outputs
TABLE
echo "options of both programs answer as documented"
