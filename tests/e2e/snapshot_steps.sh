#!/usr/bin/env bash
# The snapshot tool in single-step mode: each key after "s" advances one
# frame, as in the window, and the tool ends when the keys run out there
# (it used to wait for a key nobody would type).
set -uo pipefail
snapshot=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
shoot() {
  local out=$1
  shift
  timeout 10 "$snapshot" "$@" "$dir/$out.png" || fail "mehrfachspalt-snapshot $* ended with $?"
}

shoot s --frames 1 --keys s
shoot plain --frames 1
cmp -s "$dir/s.png" "$dir/plain.png" || fail "\"s\" alone changed the first frame"

# "s", then "g" ends the wait of the first frame: the picture of "g" typed
# in the first frame, however many frames were asked for.
shoot sg --frames 9 --keys sg
shoot g1 --frames 1 --keys g
cmp -s "$dir/sg.png" "$dir/g1.png" || fail "\"sg\" is not the first frame with \"g\""

# "w" as the key of a step resumes: five frames in all, as without stepping.
shoot sgw --frames 5 --keys sgw
shoot g5 --frames 5 --keys g
cmp -s "$dir/sgw.png" "$dir/g5.png" || fail "\"sgw\" over five frames differs from \"g\""
echo "single steps in the snapshot tool end and match the free-running frames"
