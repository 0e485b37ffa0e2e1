#!/bin/sh
# Instructions of one simulation frame (8 slits, intensity curve on), counted
# by callgrind: frame_count runs N and then 2N frames, and the difference of
# the two totals divided by N leaves out start-up and the first picture.
#
#   bench/frame_instructions.sh [build folder] [N]      (defaults: build, 100)
set -eu
build=${1:-build}
frames=${2:-100}
program="$build/bench/frame_count"
if ! command -v valgrind >/dev/null 2>&1; then
    echo "frame_instructions.sh: valgrind is not installed" >&2
    exit 1
fi
if [ ! -x "$program" ]; then
    echo "frame_instructions.sh: $program is missing; build the benchmarks first" >&2
    exit 1
fi
total() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$program" "$1" 2>&1 |
        sed -n 's/.*Collected : *\([0-9][0-9]*\).*/\1/p'
}
once=$(total "$frames")
twice=$(total $((2 * frames)))
echo $(((twice - once) / frames))
