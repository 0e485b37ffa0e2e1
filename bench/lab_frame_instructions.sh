#!/bin/sh
# Instructions of one lab view frame while its heaviest wall fills (white
# light, 50 slits), counted by callgrind: lab_frame_count runs no frames and
# then N, and the difference of the two totals divided by N leaves out
# start-up and the keys. Also says after how many frames the wall was whole.
#
#   bench/lab_frame_instructions.sh [build folder] [N]      (defaults: build, 20)
set -eu
build=${1:-build}
frames=${2:-20}
program="$build/bench/lab_frame_count"
. "$(dirname "$0")/callgrind_total.sh"
require_program lab_frame_instructions.sh "$program"
none=$(callgrind_total "$program" 0)
some=$(callgrind_total "$program" "$frames")
echo "$(((some - none) / frames)) instructions a frame; $("$program" "$frames")"
