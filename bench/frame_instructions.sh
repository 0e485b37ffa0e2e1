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
. "$(dirname "$0")/callgrind_total.sh"
require_program frame_instructions.sh "$program"
total() {
    callgrind_total "$program" "$1"
}
once=$(total "$frames")
twice=$(total $((2 * frames)))
echo $(((twice - once) / frames))
