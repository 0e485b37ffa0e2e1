#!/usr/bin/env bash
# Builds the program and starts it. Installs only what building and running
# it need (scripts/deps.sh run): the build folder is configured without the
# tests and benchmarks, whose packages scripts/test.sh installs, and turns
# them back on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target mehrfachspalt
exec ./build/mehrfachspalt "$@"
