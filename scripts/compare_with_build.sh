#!/usr/bin/env bash
# The picture of the program as it has always been, against a reference
# build: for every original key (typed alone, and repeated after "i" so that
# the curve holds samples) and a few longer key sequences, the snapshot
# tool's PNG after 150 frames and its curve as CSV must be byte-identical to
# what the reference commit's snapshot tool writes. Run it after a change
# that may draw; the reference is built once into build-ref/ and kept.
#
#   scripts/compare_with_build.sh [reference commit] [build folder]
#   (defaults: aba48ed, the last build before the honest-picture work; build)
set -euo pipefail
cd "$(dirname "$0")/.."
ref=${1:-aba48ed}
full=${2:-build}
ref_dir=build-ref/$(git rev-parse --short "$ref")

if [ ! -x "$ref_dir/build/mehrfachspalt-snapshot" ]; then
  rm -rf "$ref_dir"
  mkdir -p build-ref
  git worktree prune
  git worktree add --detach "$ref_dir" "$ref" >/dev/null 2>&1
  cmake -S "$ref_dir" -B "$ref_dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DBUILD_BENCHMARKS=OFF >/dev/null
  cmake --build "$ref_dir/build" -j"$(nproc)" --target mehrfachspalt-snapshot >/dev/null
fi
cmake --build "$full" -j"$(nproc)" --target mehrfachspalt-snapshot >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The original keys but "e" (which ends the program before the picture).
keys=(8 2 4 6 "{up}" "{down}" "{left}" "{right}" 9 3 5 7 1 g k s w a i m)
sequences=()
for key in "${keys[@]}"; do
  sequences+=("$key" "i$key$key$key$key$key")
done
sequences+=("gggggg{up}{up}im" "i8888a22{left}{left}" "s{up}{up}{down}w" "kk{right}i9m3"
  "m7i1aaa5" "ai{down}{down}{down}gk2s8w" "i7" "i7{up}{up}9" "wwwwi{down}{down}" "aaaaaaggi")

run() { # build name keys [--sweep]
  "$1"/mehrfachspalt-snapshot --frames 150 --keys "$3" --curve "$work/$2.csv" "${@:4}" \
    "$work/$2.png"
}
count=0
for i in "${!sequences[@]}"; do
  for sweep in "" --sweep; do
    # A sweep after single steps would take one key a frame: keep them plain.
    [ -n "$sweep" ] && [[ "${sequences[$i]}" == *s* ]] && continue
    run "$full" new "${sequences[$i]}" $sweep
    run "$ref_dir/build" old "${sequences[$i]}" $sweep
    if ! cmp -s "$work/new.png" "$work/old.png" || ! cmp -s "$work/new.csv" "$work/old.csv"; then
      echo "FAIL: keys \"${sequences[$i]}\" $sweep draw otherwise than $ref"
      exit 1
    fi
    count=$((count + 1))
  done
done
echo "original keys: $count runs of 150 frames, PNG and CSV byte-identical to $ref"
