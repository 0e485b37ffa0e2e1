#!/usr/bin/env bash
# The simulation alone, without the lesson tools: a build configured with
# -DLESSON_TOOLS=OFF still configures, and the core variant (the same
# libraries wired without the lesson tools, built as extra targets of the
# full build folder) draws, for the keys the program has always had, the
# very pictures of the full build, frame for frame; the lesson keys do
# nothing in it. The simulation's own tests are the full build's sim_tests:
# the lesson tools do not enter that library.
#
#   scripts/check_core_build.sh [full build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
full=${1:-build}
scratch=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$scratch" "$work"' EXIT
cmake -S . -B "$scratch" -DLESSON_TOOLS=OFF -DBUILD_BENCHMARKS=OFF >/dev/null
echo "core build: configures with -DLESSON_TOOLS=OFF"
cmake --build "$full" -j"$(nproc)" --target mehrfachspalt-snapshot mehrfachspalt-snapshot-core \
  mehrfachspalt-core >/dev/null

# Every frame of each run, as an animation: a difference in any frame shows.
animate() { # snapshot tool, keys, name
  "$1" --frames 60 --keys "$2" --animate "$work/$3.gif" "$work/$3.png"
}
sequences=("" "gggggg{up}{up}im" "i8888a22{left}{left}" "s{up}{up}{down}w" "kk{right}i9m3"
  "m7i1aaa5" "ai{down}{down}{down}gk2s8w" "i{up}{up}{up}{up}{up}{up}{up}{up}{up}{up}")
for i in "${!sequences[@]}"; do
  animate "$full/mehrfachspalt-snapshot" "${sequences[$i]}" "full$i"
  animate "$full/mehrfachspalt-snapshot-core" "${sequences[$i]}" "core$i"
  cmp "$work/full$i.gif" "$work/core$i.gif"
  cmp "$work/full$i.png" "$work/core$i.png"
done
echo "core build: ${#sequences[@]} key sequences drawn as the full build draws them"
# The lesson keys are keys the core ignores.
animate "$full/mehrfachspalt-snapshot-core" "i" core-plain
animate "$full/mehrfachspalt-snapshot-core" "i+r-cp{pgup}hbtGKBxv" core-lesson
# The same frames, the same count of keys typed: only what they do differs.
cmp "$work/core-plain.png" "$work/core-lesson.png"
echo "core build: +, -, r, c, p, h, b, t, G, K, B, x, v, Page Up change nothing"
