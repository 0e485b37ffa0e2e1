#!/bin/sh
# Instructions of the wide-slit physics per frame, counted by callgrind for
# the heaviest settings: wide_slit_phasors alone, and with every slit's
# chords as a frame drawing the arcs calls them. physics_count runs N and
# then 2N rounds of 480 calls (every detector row once); the difference of
# the two totals divided by 480 N leaves start-up out and is the mean over
# the rows.
#
#   bench/physics_instructions.sh [build folder] [N]      (defaults: build, 2)
set -eu
build=${1:-build}
rounds=${2:-2}
program="$build/bench/physics_count"
. "$(dirname "$0")/callgrind_total.sh"
require_program physics_instructions.sh "$program"
total() {
    callgrind_total "$program" "$@"
}
per_call() {
    once=$(total "$@" "$rounds")
    twice=$(total "$@" $((2 * rounds)))
    echo $(((twice - once) / (480 * rounds)))
}
echo "setting (slits spacing lambda width) | field | phasors | phasors and chords"
for setting in "8 20 0.5 15" "50 2 0.5 1" "1 20 0.5 60"; do
    for field in near far; do
        # shellcheck disable=SC2086
        echo "$setting | $field | $(per_call $setting $field phasors) | $(per_call $setting $field chords)"
    done
done
