#!/usr/bin/env bash
# The simulation alone, without the lesson tools (-DLESSON_TOOLS=OFF): its
# scene tests pass, and for the keys the program has always had it draws
# the very pictures of the full build, frame for frame; the lesson keys do
# nothing in it.
#
#   scripts/check_core_build.sh [full build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
full=${1:-build}
core=build-core
cmake -S . -B "$core" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLESSON_TOOLS=OFF -DBUILD_BENCHMARKS=OFF \
  -DWARNINGS_AS_ERRORS="${WERROR:-OFF}" >/dev/null
cmake --build "$core" -j"$(nproc)" --target mehrfachspalt mehrfachspalt-snapshot sim_tests
"$core"/tests/sim_tests --gtest_brief=1
cmake --build "$full" -j"$(nproc)" --target mehrfachspalt-snapshot

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every frame of each run, as an animation: a difference in any frame shows.
animate() { # folder keys name
  "$1"/mehrfachspalt-snapshot --frames 60 --keys "$2" --animate "$work/$3.gif" "$work/$3.png"
}
sequences=("" "gggggg{up}{up}im" "i8888a22{left}{left}" "s{up}{up}{down}w" "kk{right}i9m3"
  "m7i1aaa5" "ai{down}{down}{down}gk2s8w" "i{up}{up}{up}{up}{up}{up}{up}{up}{up}{up}")
for i in "${!sequences[@]}"; do
  animate "$full" "${sequences[$i]}" "full$i"
  animate "$core" "${sequences[$i]}" "core$i"
  cmp "$work/full$i.gif" "$work/core$i.gif"
  cmp "$work/full$i.png" "$work/core$i.png"
done
echo "core build: ${#sequences[@]} key sequences drawn as the full build draws them"
# The lesson keys are keys the core ignores.
animate "$core" "i" core-plain
animate "$core" "i+r-cp{pgup}hbtGKB" core-lesson
# The same frames, the same count of keys typed: only what they do differs.
cmp "$work/core-plain.png" "$work/core-lesson.png"
echo "core build: +, -, r, c, p, h, b, t, G, K, B, Page Up change nothing"
