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
[ -x "$tool" ] || { echo "setting_cost.sh: $tool is missing; build it first" >&2; exit 1; }
command -v valgrind >/dev/null 2>&1 || { echo "setting_cost.sh: valgrind is missing" >&2; exit 1; }
out=$(mktemp --suffix=.png)
trap 'rm -f "$out"' EXIT
total() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$tool" --frames "$1" --keys "$keys" \
        "$out" 2>&1 | sed -n 's/.*Collected : *\([0-9][0-9]*\).*/\1/p'
}
once=$(total $((frames + ${#keys})))
twice=$(total $((2 * frames + ${#keys})))
per_frame=$(((twice - once) / frames))
start=$(date +%s.%N)
"$tool" --frames "$((${#keys} + 1))" --keys "$keys" --sweep "$out"
end=$(date +%s.%N)
echo "instructions per frame: $per_frame; a whole sweep: $(echo "$end - $start" | bc) s"
