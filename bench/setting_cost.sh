#!/bin/sh
# What one frame and one whole sweep cost in a setting that keys make:
# instructions per frame by callgrind (the snapshot tool runs N and then 2N
# frames after the keys; the difference over N leaves out start-up and the
# keys' own redraws), and the seconds of one core that --sweep takes.
#
#   bench/setting_cost.sh [build folder] KEYS [N]     (defaults: build, N 100)
#   bench/setting_cost.sh build "gggggg$(printf 'b%.0s' $(seq 10))i"
set -eu
build=${1:-build}
keys=${2:?the keys that make the setting}
frames=${3:-100}
tool="$build/mehrfachspalt-snapshot"
. "$(dirname "$0")/callgrind_total.sh"
require_program setting_cost.sh "$tool"
out=$(mktemp --suffix=.png)
trap 'rm -f "$out"' EXIT
total() {
    callgrind_total "$tool" --frames "$1" --keys "$keys" "$out"
}
once=$(total $((frames + ${#keys})))
twice=$(total $((2 * frames + ${#keys})))
per_frame=$(((twice - once) / frames))
start=$(date +%s.%N)
"$tool" --frames "$((${#keys} + 1))" --keys "$keys" --sweep "$out"
end=$(date +%s.%N)
echo "instructions per frame: $per_frame; a whole sweep: $(echo "$end - $start" | bc) s"
