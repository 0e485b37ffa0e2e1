#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
# Tests and benchmarks on, whatever an earlier run.sh left in the
# build folder's cache. WERROR=1 (as CI sets it) turns compiler warnings into
# errors.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DBUILD_BENCHMARKS=ON \
  -DWARNINGS_AS_ERRORS="${WERROR:-OFF}" >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
