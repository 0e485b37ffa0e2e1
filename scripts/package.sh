#!/usr/bin/env bash
# Builds the Debian package mehrfachspalt_VERSION_amd64.deb with CPack from
# the install rules of CMakeLists.txt, and checks it with lintian. Installs
# what is missing: dpkg-dev (dpkg-shlibdeps works out the Depends line,
# dpkg-buildflags the hardening flags), file (with which CPack finds the
# programs to examine), librsvg2-bin (renders the PNG icons from the SVG)
# and lintian. Then: apt install ./build-package/mehrfachspalt_*.deb
#
#   scripts/package.sh               a build of its own in build-package
#   scripts/package.sh FOLDER        from a build folder first configured
#                                    with the hardening flags, e.g. CI's main
#                                    build: source scripts/hardening_flags.sh
#                                    before its first cmake
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh dpkg-dev file librsvg2-bin lintian
source scripts/hardening_flags.sh

folder=${1:-build-package}
if [ $# -eq 0 ]; then
  mkdir -p "$folder"
  rm -f "$folder"/mehrfachspalt_*.deb
  cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DBUILD_BENCHMARKS=OFF -DREQUIRE_PNG_ICONS=ON >/dev/null
else
  # CMake takes the flags from the environment at a folder's first
  # configure only: a folder built without them would make a package
  # without them.
  cached() { sed -n "s/^$1:[A-Z]*=//p" "$folder/CMakeCache.txt"; }
  if [ "$(cached CMAKE_CXX_FLAGS)" != "$CXXFLAGS" ] ||
    [ "$(cached CMAKE_EXE_LINKER_FLAGS)" != "$LDFLAGS" ]; then
    echo "package.sh: $folder was not first configured with the hardening flags" \
      "(source scripts/hardening_flags.sh before its first cmake)" >&2
    exit 1
  fi
  [ "$(cached CMAKE_BUILD_TYPE)" = RelWithDebInfo ] ||
    { echo "package.sh: $folder is not a RelWithDebInfo build" >&2; exit 1; }
  rm -f "$folder"/mehrfachspalt_*.deb
  cmake -S . -B "$folder" -DREQUIRE_PNG_ICONS=ON >/dev/null
fi
cmake --build "$folder" -j"$(nproc)" >"$folder"/package-build.log 2>&1 ||
  { tail -n 40 "$folder"/package-build.log; exit 1; }
(cd "$folder" && cpack -G DEB >/dev/null)
deb=$(ls "$folder"/mehrfachspalt_*_amd64.deb)

# Errors fail; what lintian still reports is listed in CONTRIBUTING.md's package section.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "$deb: $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb" Depends
